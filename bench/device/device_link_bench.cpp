// Timings of the device link over the real serial channel against simulated boxes: the status
// round trip, an exchange with a box that answers 1 ms late (any real box: 17 bytes at 460800
// baud take 0.37 ms), the CPU spent waiting for a slow box, and discovery with silent ports.
//   quelt-bench-device [--rounds N] [--case NAME]   run every case, or one
//   quelt-bench-device --list                       each case's name and boxes, one a line
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/device/bench_host.h"
#include "device/device_link.h"
#include "platform/clock/clock.h"

namespace {

using quelt::DeviceFrame;
using quelt::DeviceLink;
using WallClock = std::chrono::steady_clock;

class QuietSink : public quelt::PanelSink {
  public:
    void setPanelEnabled(bool) override {}
    void showBoxEntry(int, bool, const std::string&) override {}
    void hideBoxEntry(int) override {}
    void setBoxInfoText(int, const std::string&) override {}
    void framesToPanel(const DeviceFrame&) override {}
    void panelToFrame(DeviceFrame&) override {}
    void updateBezelEnable(const DeviceFrame&) override {}
    void updateResolutionEnable(const DeviceFrame&) override {}
    void redrawPanel() override {}
    void showError(int index) override { std::fprintf(stderr, "bench: error %d\n", index); }
    void setBusy(bool) override {}
    void releaseButton(int) override {}
};

enum class Measure { RoundTrip, Exchange, Discovery };

struct BenchCase {
    std::string name;
    Measure measure;
    int count;  // exchanges or discoveries; 0: as many as --rounds says
    std::vector<std::string> boxes;
    int expectedBoxes;
};

std::vector<BenchCase> benchCases() {
    std::vector<BenchCase> cases = {
        {"round-trip",
         Measure::RoundTrip,
         0,
         {"1:12:1", "2:12:2", "3:12:3", "4:12:4", "5:12:5", "6:12:6"},
         6},
        {"late-1ms", Measure::Exchange, 200, {"1:12:1:delay=1"}, 1},
        {"wait-500ms", Measure::Exchange, 6, {"1:12:1:delay=500"}, 1},
    };
    // Discovery with silent ports on COM1..k in front of one box: the case real PCs have (an
    // on-board COM1 with nothing attached, Bluetooth serial ports).
    for (int silent : {0, 1, 3, 6}) {
        BenchCase c{"silent-" + std::to_string(silent), Measure::Discovery, 1, {}, 1};
        for (int com = 1; com <= silent; ++com) {
            c.boxes.push_back(std::to_string(com) + ":12:1:silent");
        }
        c.boxes.push_back(std::to_string(silent + 1) + ":12:1");
        cases.push_back(c);
    }
    return cases;
}

struct Summary {
    double median, p90, max;
};

Summary summarise(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    auto at = [&values](double q) {
        return values[static_cast<std::size_t>(q * static_cast<double>(values.size() - 1))];
    };
    return {at(0.5), at(0.9), values.back()};
}

double elapsedMs(WallClock::time_point since) {
    return std::chrono::duration<double, std::milli>(WallClock::now() - since).count();
}

// Runs one case against its boxes; false when an exchange failed.
bool runCase(const BenchCase& c, int rounds) {
    const auto boxes = quelt::bench::serveBoxes(c.boxes);
    if (!boxes->ready()) {
        std::fprintf(stderr, "bench: %s: the simulated boxes did not start\n", c.name.c_str());
        return false;
    }
    QuietSink sink;
    DeviceLink link(sink, quelt::systemClock(), [] { return quelt::makeSerialChannel(); });
    const double cpuBefore = quelt::bench::processCpuSeconds();
    const auto start = WallClock::now();
    std::vector<double> times;
    const int count = c.count > 0 ? c.count : rounds;
    if (c.measure == Measure::Discovery) {
        for (int i = 0; i < count; ++i) {
            const auto one = WallClock::now();
            if (link.discoverBoxes() != 1 || link.boxCount() != c.expectedBoxes) {
                return false;
            }
            times.push_back(elapsedMs(one));
        }
    } else {
        if (link.discoverBoxes() != 1 || link.boxCount() != c.expectedBoxes) {
            return false;
        }
        DeviceFrame frame;
        for (int i = 0; i < count; ++i) {
            const auto one = WallClock::now();
            if (link.queryStatus(frame) != 1) {
                return false;
            }
            times.push_back(elapsedMs(one));
        }
    }
    const double wallS = elapsedMs(start) / 1000;
    const double cpuPerS = (quelt::bench::processCpuSeconds() - cpuBefore) / wallS;
    const Summary s = summarise(times);
    const char* what = c.measure == Measure::Discovery ? "discoveries" : "exchanges";
    std::printf("%-11s %4zu %-11s median %9.3f ms  p90 %9.3f ms  max %9.3f ms  CPU %.3f s/s\n",
                c.name.c_str(), times.size(), what, s.median, s.p90, s.max, cpuPerS);
    if (c.measure == Measure::RoundTrip) {
        std::vector<double> discoveries;
        for (int i = 0; i < std::max(10, rounds / 100); ++i) {
            const auto one = WallClock::now();
            if (link.discoverBoxes() != 1 || link.boxCount() != c.expectedBoxes) {
                return false;
            }
            discoveries.push_back(elapsedMs(one));
        }
        const Summary d = summarise(discoveries);
        std::printf("%-11s %4zu %-11s median %9.3f ms  p90 %9.3f ms  max %9.3f ms\n", "six-boxes",
                    discoveries.size(), "discoveries", d.median, d.p90, d.max);
    }
    std::fflush(stdout);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    int rounds = 2000;
    std::string only;
    const std::vector<BenchCase> cases = benchCases();
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--list") {
            for (const BenchCase& c : cases) {
                std::printf("%s", c.name.c_str());
                for (const std::string& box : c.boxes) {
                    std::printf(" %s", box.c_str());
                }
                std::printf("\n");
            }
            return 0;
        }
        if (arg == "--rounds" && i + 1 < argc) {
            rounds = std::max(1, std::atoi(argv[++i]));
            continue;
        }
        if (arg == "--case" && i + 1 < argc) {
            only = argv[++i];
            continue;
        }
        std::fprintf(stderr, "usage: %s [--rounds N] [--case NAME] | --list\n", argv[0]);
        return 2;
    }
    int status = 0;
    bool ran = false;
    for (const BenchCase& c : cases) {
        if (!only.empty() && c.name != only) {
            continue;
        }
        ran = true;
        if (!runCase(c, rounds)) {
            std::fprintf(stderr, "bench: %s: an exchange failed\n", c.name.c_str());
            status = 1;
        }
    }
    if (!ran) {
        std::fprintf(stderr, "bench: no case named %s\n", only.c_str());
        return 2;
    }
    return status;
}

// Timings of the device link over the real serial channel against simulated boxes on
// pseudo-terminals: the status round trip (queryStatus) and discovery of six boxes.
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/common/boxsim_process.h"
#include "device/device_link.h"
#include "platform/clock/clock.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

class QuietSink : public quelt::PanelSink {
  public:
    void setPanelEnabled(bool) override {}
    void showBoxEntry(int, bool, const std::string&) override {}
    void hideBoxEntry(int) override {}
    void setBoxInfoText(int, const std::string&) override {}
    void framesToPanel(const quelt::DeviceFrame&) override {}
    void panelToFrame(quelt::DeviceFrame&) override {}
    void updateBezelEnable(const quelt::DeviceFrame&) override {}
    void updateResolutionEnable(const quelt::DeviceFrame&) override {}
    void redrawPanel() override {}
    void showError(int index) override { std::fprintf(stderr, "bench: error %d\n", index); }
    void setBusy(bool) override {}
    void releaseButton(int) override {}
};

struct Summary {
    double median, p90, p99, max;
};

Summary summarise(std::vector<double> us) {
    std::sort(us.begin(), us.end());
    auto at = [&us](double q) { return us[static_cast<std::size_t>(q * (us.size() - 1))]; };
    return {at(0.5), at(0.9), at(0.99), us.back()};
}

double elapsedUs(Clock::time_point since) {
    return std::chrono::duration<double, std::micro>(Clock::now() - since).count();
}

}  // namespace

int main(int argc, char** argv) {
    int rounds = 2000;
    if (argc == 3 && std::strcmp(argv[1], "--rounds") == 0) {
        rounds = std::max(10, std::atoi(argv[2]));
    }
    char tmpl[] = "/tmp/quelt-bench-XXXXXX";
    if (::mkdtemp(tmpl) == nullptr)
        return 1;
    const fs::path dir = tmpl;
    int status = 1;
    {
        std::vector<std::string> boxes;
        for (int com = 1; com <= 6; ++com) {
            boxes.push_back(std::to_string(com) + ":12:" + std::to_string(com));
        }
        const quelt::bench::BoxsimProcess sim(QUELT_BOXSIM_PATH, (dir / "ports").string(), boxes);
        ::setenv("QUELT_PORT_DIR", (dir / "ports").c_str(), 1);
        QuietSink sink;
        quelt::DeviceLink link(sink, quelt::systemClock(),
                               [] { return quelt::makeSerialChannel(); });
        if (sim.ready() && link.discoverBoxes() == 1 && link.boxCount() == 6) {
            std::vector<double> roundTrips;
            quelt::DeviceFrame frame;
            for (int i = 0; i < rounds; ++i) {
                auto start = Clock::now();
                if (link.queryStatus(frame) != 1)
                    break;
                roundTrips.push_back(elapsedUs(start));
            }
            std::vector<double> discoveries;
            for (int i = 0; i < std::max(10, rounds / 100); ++i) {
                auto start = Clock::now();
                if (link.discoverBoxes() != 1 || link.boxCount() != 6)
                    break;
                discoveries.push_back(elapsedUs(start));
            }
            if (roundTrips.size() == static_cast<std::size_t>(rounds) && !discoveries.empty()) {
                Summary rt = summarise(roundTrips);
                Summary d = summarise(discoveries);
                std::printf(
                    "status round trip (queryStatus), %zu runs: median %.1f us, p90 %.1f us, "
                    "p99 %.1f us, max %.1f us\n",
                    roundTrips.size(), rt.median, rt.p90, rt.p99, rt.max);
                std::printf(
                    "discovery of 6 boxes on COM1-6, %zu runs: median %.2f ms, p90 %.2f ms, "
                    "max %.2f ms\n",
                    discoveries.size(), d.median / 1000, d.p90 / 1000, d.max / 1000);
                status = 0;
            } else {
                std::fprintf(stderr, "bench: an exchange failed\n");
            }
        } else {
            std::fprintf(stderr, "bench: the simulated boxes were not found\n");
        }
    }
    std::error_code ec;
    fs::remove_all(dir, ec);
    return status;
}

// A bounded soak of the device link over the real serial channel against quelt-boxsim on
// pseudo-terminals: many status exchanges, discoveries and background Applies, checking that
// open file descriptors, threads and resident memory do not grow past a small fixed margin.
//   quelt-soak [--exchanges N] [--discoveries N] [--applies N]
// Prints the figures of every phase; exit 0 when nothing failed and nothing grew, else 1.
#include <stdlib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "bench/soak/process_figures.h"
#include "device/device_link.h"
#include "device/flags.h"
#include "platform/clock/clock.h"
#include "support/boxsim_process.h"

namespace {

using quelt::bench::describe;
using quelt::bench::ProcessFigures;
using quelt::bench::readProcessFigures;

// Growth allowed over the baseline: none for descriptors and threads, a little for the heap.
constexpr long kFdMargin = 0;
constexpr long kThreadMargin = 0;
constexpr long kRssMarginKiB = 4 * 1024;

// Real time, except that a pause longer than a millisecond (the 1 s after every command) lasts
// 1 ms; the time skipped is added to what the clock reads, so the link still sees it pass.
class FastClock : public quelt::Clock {
  public:
    std::int64_t nowMicros() override { return quelt::systemClock().nowMicros() + skipped_; }
    void sleepMs(std::uint32_t ms) override {
        quelt::systemClock().sleepMs(std::min<std::uint32_t>(ms, 1));
        if (ms > 1) {
            skipped_ += static_cast<std::int64_t>(ms - 1) * 1000;
        }
    }

  private:
    std::atomic<std::int64_t> skipped_{0};
};

// The panel as the worker sees it: each Apply changes the frame rate, so ApplySettings is sent.
class SoakSink : public quelt::PanelSink {
  public:
    void setPanelEnabled(bool) override {}
    void showBoxEntry(int, bool, const std::string&) override {}
    void hideBoxEntry(int) override {}
    void setBoxInfoText(int, const std::string&) override {}
    void framesToPanel(const quelt::DeviceFrame&) override {}
    void panelToFrame(quelt::DeviceFrame& frame) override {
        frame.setFlags(frame.flags() ^ quelt::frame_flags::frameRateBit);
    }
    void updateBezelEnable(const quelt::DeviceFrame&) override {}
    void updateResolutionEnable(const quelt::DeviceFrame&) override {}
    void redrawPanel() override {}
    void showError(int index) override {
        if (errors++ < 5) {
            std::fprintf(stderr, "soak: error box %d\n", index);
        }
    }
    void setBusy(bool) override {}
    void releaseButton(int) override {}

    std::atomic<int> errors{0};
};

struct Options {
    int exchanges = 20000;
    int discoveries = 500;
    int applies = 200;
};

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const int value = std::atoi(argv[i + 1]);
        if (std::strcmp(argv[i], "--exchanges") == 0) {
            options.exchanges = value;
        } else if (std::strcmp(argv[i], "--discoveries") == 0) {
            options.discoveries = value;
        } else if (std::strcmp(argv[i], "--applies") == 0) {
            options.applies = value;
        } else {
            return false;
        }
    }
    return argc % 2 == 1;
}

class Soak {
  public:
    Soak(quelt::DeviceLink& link, SoakSink& sink, pid_t simulator)
        : link_(link), sink_(sink), simulator_(simulator) {}

    void takeBaseline() {
        baseline_ = readProcessFigures();
        simulatorBaseline_ = readProcessFigures(simulator_);
        std::printf("soak: baseline: %s (simulator: %s)\n", describe(baseline_).c_str(),
                    describe(simulatorBaseline_).c_str());
    }

    // Runs `step` `count` times; each must return 1.
    void phase(const char* what, int count, const std::function<int()>& step) {
        const auto start = std::chrono::steady_clock::now();
        int failed = 0;
        for (int i = 0; i < count; ++i) {
            failed += step() == 1 ? 0 : 1;
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const ProcessFigures now = readProcessFigures();
        const ProcessFigures simulator = readProcessFigures(simulator_);
        std::printf(
            "soak: %d %s in %.1f s (%.2f ms each), %d failed: %s (%+ld fds, %+ld threads, %+.1f "
            "MiB); simulator fds %ld (%+ld), rss %.1f MiB\n",
            count, what, seconds, count > 0 ? seconds * 1000 / count : 0.0, failed,
            describe(now).c_str(), now.fds - baseline_.fds, now.threads - baseline_.threads,
            static_cast<double>(now.rssKiB - baseline_.rssKiB) / 1024.0, simulator.fds,
            simulator.fds - simulatorBaseline_.fds, static_cast<double>(simulator.rssKiB) / 1024.0);
        std::fflush(stdout);
        if (failed > 0) {
            fail(std::string(what) + ": " + std::to_string(failed) + " failed");
        }
        if (now.fds > baseline_.fds + kFdMargin || simulator.fds > simulatorBaseline_.fds) {
            fail(std::string(what) + ": open file descriptors grew");
        }
        if (now.threads > baseline_.threads + kThreadMargin) {
            fail(std::string(what) + ": threads grew");
        }
        if (now.rssKiB > baseline_.rssKiB + kRssMarginKiB) {
            fail(std::string(what) + ": resident memory grew");
        }
    }

    int result() const {
        if (sink_.errors != 0) {
            std::printf("soak: FAILED: %d error boxes\n", sink_.errors.load());
            return 1;
        }
        std::printf(ok_ ? "soak: passed\n" : "soak: FAILED\n");
        return ok_ ? 0 : 1;
    }

  private:
    void fail(const std::string& why) {
        std::printf("soak: FAIL: %s\n", why.c_str());
        ok_ = false;
    }

    quelt::DeviceLink& link_;
    SoakSink& sink_;
    pid_t simulator_;
    ProcessFigures baseline_;
    ProcessFigures simulatorBaseline_;
    bool ok_ = true;
};

// Apply started on the worker thread, as the panel's button does, and waited for.
int BackgroundApply(quelt::DeviceLink& link, int round) {
    link.syncToAll = round % 2;
    if (link.startOperation(quelt::OperationKind::Apply, 4) != 1) {
        return 0;
    }
    link.waitForWorkers();
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: quelt-soak [--exchanges N] [--discoveries N] [--applies N]\n");
        return 2;
    }
    char folder[] = "/tmp/quelt-soak-XXXXXX";
    if (::mkdtemp(folder) == nullptr) {
        return 1;
    }
    const std::filesystem::path ports = std::filesystem::path(folder) / "ports";
    int status = 1;
    {
        // Three boxes, not side by side, so discovery also walks past empty port numbers.
        quelt::test::BoxsimProcess simulator(QUELT_BOXSIM_PATH, ports.string(),
                                             {"2:12:1", "5:12:2", "9:10:3"}, {"", true});
        ::setenv("QUELT_PORT_DIR", ports.c_str(), 1);
        quelt::resetProcessFlags();
        FastClock clock;
        SoakSink sink;
        quelt::DeviceLink link(sink, clock, [] { return quelt::makeSerialChannel(); });
        if (!simulator.waitReady() || link.discoverBoxes() != 1 || link.boxCount() != 3) {
            std::fprintf(stderr, "soak: the simulated boxes were not found\n");
        } else {
            quelt::DeviceFrame frame;
            Soak soak(link, sink, simulator.pid());
            // Warm up every path once so that lazily made buffers are in the baseline.
            for (int i = 0; i < 100; ++i) {
                link.queryStatus(frame);
            }
            link.discoverBoxes();
            BackgroundApply(link, 0);
            BackgroundApply(link, 1);
            soak.takeBaseline();
            int round = 0;
            soak.phase("status exchanges", options.exchanges, [&] {
                // Every box in turn, as choosing boxes on the panel does.
                if (++round % 1000 == 0 && link.selectBox((round / 1000) % 3) != 1) {
                    return 0;
                }
                return link.queryStatus(frame);
            });
            soak.phase("discoveries", options.discoveries,
                       [&] { return link.discoverBoxes() == 1 && link.boxCount() == 3 ? 1 : 0; });
            soak.phase("background Applies", options.applies,
                       [&] { return BackgroundApply(link, ++round); });
            status = soak.result();
        }
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return status;
}

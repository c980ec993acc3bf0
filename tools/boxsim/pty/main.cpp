// quelt-boxsim: simulated Quelt boxes on pseudo-terminals, linked as DIR/COMn.
#include <signal.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

#include "base/version.h"
#include "platform/clock/clock.h"
#include "tools/boxsim/pty/sim_options.h"
#include "tools/boxsim/pty/simulator.h"

namespace {

std::atomic<bool> stopRequested{false};

extern "C" void onStopSignal(int) {
    stopRequested = true;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::fputs(quelt::sim::kSimUsage, stdout);
        return 0;
    }
    if (args.size() == 1 && args[0] == "--version") {
        std::printf("quelt-boxsim %s\n", quelt::kVersionString);
        return 0;
    }
    std::string error;
    auto options = quelt::sim::parseSimOptions(args, error);
    if (!options) {
        std::fprintf(stderr, "quelt-boxsim: %s\n%s", error.c_str(), quelt::sim::kSimUsage);
        return 2;
    }

    // The stop signals are delivered only while the loop waits, so none is lost between a
    // check of the flag and the wait.
    sigset_t stopSignals;
    ::sigemptyset(&stopSignals);
    ::sigaddset(&stopSignals, SIGTERM);
    ::sigaddset(&stopSignals, SIGINT);
    ::sigaddset(&stopSignals, SIGHUP);
    ::sigprocmask(SIG_BLOCK, &stopSignals, nullptr);
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    ::sigemptyset(&action.sa_mask);
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);
    ::signal(SIGPIPE, SIG_IGN);

    std::FILE* log = nullptr;
    if (!options->logPath.empty()) {
        log = std::fopen(options->logPath.c_str(), "w");
        if (log == nullptr) {
            std::fprintf(stderr, "quelt-boxsim: cannot write %s\n", options->logPath.c_str());
            return 1;
        }
    }

    int status = 0;
    {
        quelt::sim::Simulator simulator(quelt::systemClock(), log);
        if (!simulator.start(*options, error)) {
            std::fprintf(stderr, "quelt-boxsim: %s\n", error.c_str());
            status = 1;
        } else {
            for (const auto& box : options->boxes) {
                std::fprintf(stderr, "quelt-boxsim: COM%d firmware %u ID %u\n", box.com,
                             static_cast<unsigned>(box.firmware), static_cast<unsigned>(box.boxId));
            }
            std::fputs("ready\n", stdout);
            std::fflush(stdout);
            status = simulator.run(stopRequested) ? 0 : 1;
        }
    }  // links removed here
    if (log != nullptr) {
        std::fclose(log);
    }
    return status;
}

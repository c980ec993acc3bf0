#pragma once
// quelt-cli without its platform wiring: parse, discover, select, run one command, print. Every
// device operation goes through the same DeviceLink calls the panel's handlers make.
#include <chrono>
#include <functional>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "platform/clock/clock.h"
#include "platform/serial/port_map.h"
#include "platform/serial/serial_port.h"

namespace quelt::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // an operation failed (error text on `err`)
inline constexpr int kExitUsage = 2;   // bad arguments, values or file; no command was sent

// What a run reads and writes besides the arguments.
struct CliEnvironment {
    Clock& clock;
    SerialPortFactory portFactory;
    std::ostream& out;
    std::ostream& err;
    std::istream& in;  // `restore -`
    std::function<std::chrono::system_clock::time_point()> now = std::chrono::system_clock::now;
    // The platform's port map: where the --port paths go, and the check `ports` reports.
    std::function<void(const PortPaths&)> setPortOptions = [](const PortPaths&) {};
    std::function<PortReport(int com)> checkPort = [](int com) {
        PortReport report;
        report.com = com;
        return report;
    };
};

// `args` are the arguments after the program name. Returns the exit status.
int runCli(const std::vector<std::string>& args, const CliEnvironment& env);

}  // namespace quelt::cli

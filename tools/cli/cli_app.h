#pragma once
// quelt-cli without its platform wiring: parse, discover, select, run one device operation,
// print. Every operation goes through the same DeviceLink calls the panel's handlers make.
#include <ostream>
#include <string>
#include <vector>

#include "platform/clock/clock.h"
#include "platform/serial/serial_port.h"

namespace quelt::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // an operation failed (error text on `err`)
inline constexpr int kExitUsage = 2;   // bad arguments or values; no command was sent

// `args` are the arguments after the program name. Returns the exit status.
int runCli(const std::vector<std::string>& args, Clock& clock, SerialPortFactory portFactory,
           std::ostream& out, std::ostream& err);

}  // namespace quelt::cli

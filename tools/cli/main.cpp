// quelt-cli: the device operations of the control panel from a terminal.
#include <iostream>
#include <string>
#include <vector>

#include "platform/clock/clock.h"
#include "platform/serial/serial_port.h"
#include "tools/cli/cli_app.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const quelt::cli::CliEnvironment env{quelt::systemClock(),
                                         [] { return quelt::makeSerialChannel(); }, std::cout,
                                         std::cerr, std::cin};
    return quelt::cli::runCli(args, env);
}

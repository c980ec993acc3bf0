// quelt-cli: the device operations of the control panel from a terminal.
#include <iostream>
#include <string>
#include <vector>

#include "base/version.h"
#include "platform/clock/clock.h"
#include "platform/serial/port_map.h"
#include "platform/serial/serial_port.h"
#include "tools/cli/cli_app.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && args[0] == "--version") {
        std::cout << "quelt-cli " << quelt::kVersionString << "\n";
        return 0;
    }
    quelt::closePortsOnSignals();
    quelt::cli::CliEnvironment env{quelt::systemClock(), [] { return quelt::makeSerialChannel(); },
                                   std::cout, std::cerr, std::cin};
    env.setPortOptions = [](const quelt::PortPaths& ports) { quelt::setPortOptions(ports); };
    env.checkPort = [](int com) { return quelt::checkSerialPort(com); };
    return quelt::cli::runCli(args, env);
}

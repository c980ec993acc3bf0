#pragma once
// The POSIX serial channel: a tty opened exclusively, raw 8N1 at 460800 baud.
#include <memory>
#include <string>

#include "platform/serial/serial_port.h"

namespace quelt::posix {

// Device path of COM `portNumber`: "<portDir>/COMn" when `portDir` is given and not empty,
// else "/dev/ttyUSB(n-1)". Empty for a number outside 1..14.
std::string serialDevicePath(int portNumber, const char* portDir);

// The path the port map gives COM `portNumber` (options, ports files, QUELT_PORT_DIR, default).
std::string serialDevicePath(int portNumber);

}  // namespace quelt::posix

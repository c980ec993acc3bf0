#pragma once
// Where COM n lives on this machine. The pure part: the ports-file and `COMn=PATH` parsers and
// the resolution order (command-line option, ports file, port folder, default). The platform
// backend reads the files and the environment and answers `serialPortMapping`.
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quelt {

inline constexpr int kFirstMappedPort = 1;
inline constexpr int kLastMappedPort = 14;

enum class PortSource { Default, File, Env, Option };

// "default", "file", "env", "option".
const char* portSourceName(PortSource source);

struct PortMapping {
    std::string path;  // empty for a number outside 1..14
    PortSource source = PortSource::Default;
};

using PortPaths = std::map<int, std::string>;  // COM number → path

struct PortsFileText {
    PortPaths paths;
    std::vector<std::string> problems;  // "FILE:LINE: ..." for each line that was ignored
};

// Lines "COM3 = PATH" (the name in any case), blank lines and "#" comments. A malformed line is
// reported in `problems` and ignored; a later line for the same port wins.
PortsFileText parsePortsFile(std::string_view text, std::string_view fileName);

// "COM3=PATH" as given on a command line; nothing when it is not of that shape.
std::optional<std::pair<int, std::string>> parsePortAssignment(std::string_view text);

struct PortMapSources {
    PortPaths options;    // given on the command line
    PortPaths file;       // from the ports files
    std::string portDir;  // the port folder (QUELT_PORT_DIR); empty when not set
    std::string defaultPrefix = "/dev/ttyUSB";  // COM n → prefix + (n-1)
};

// The first that applies: option, file, "<portDir>/COMn", default.
PortMapping resolvePort(int com, const PortMapSources& sources);

// What `quelt-cli ports` reports for one port; nothing is sent to it.
struct PortReport {
    int com = 0;
    PortMapping mapping;
    bool exists = false;
    bool openable = false;
    std::string error;  // why it could not be opened; empty when it could
};

// Platform backend.
// Paths given on the command line for this process; they come before every other source.
void setPortOptions(PortPaths options);
// Where COM `com` is, from the options, the ports files and the environment.
PortMapping serialPortMapping(int com);
// Problems found in the ports files (each also written once to standard error).
std::vector<std::string> portsFileProblems();
// Opens COM `com` as the channel does and closes it again, sending nothing.
PortReport checkSerialPort(int com);

}  // namespace quelt

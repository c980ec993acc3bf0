// The port map on POSIX: options from the command line, the ports files, QUELT_PORT_DIR, and
// /dev/ttyUSB(n-1).
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <mutex>
#include <sstream>

#include "platform/serial/port_map.h"
#include "platform/serial/serial_port.h"

namespace quelt {
namespace {

struct PortConfig {
    std::mutex mutex;
    PortPaths options;
    bool filesRead = false;
    PortPaths file;
    std::vector<std::string> problems;
};

PortConfig& config() {
    static PortConfig instance;
    return instance;
}

std::string envOr(const char* name, const std::string& fallback = {}) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0' ? std::string(value) : fallback;
}

// The user's ports file: QUELT_PORTS_FILE, else $XDG_CONFIG_HOME (or ~/.config)/quelt/ports.conf.
std::string userPortsFile() {
    std::string file = envOr("QUELT_PORTS_FILE");
    if (!file.empty()) {
        return file;
    }
    std::string base = envOr("XDG_CONFIG_HOME");
    if (base.empty()) {
        const std::string home = envOr("HOME");
        if (home.empty()) {
            return {};
        }
        base = home + "/.config";
    }
    return base + "/quelt/ports.conf";
}

// Reads `name` into `into`; entries already there (from a file read earlier) are kept.
void readPortsFile(const std::string& name, PortConfig& c) {
    if (name.empty()) {
        return;
    }
    std::ifstream in(name, std::ios::binary);
    if (!in) {
        return;
    }
    std::ostringstream text;
    text << in.rdbuf();
    PortsFileText parsed = parsePortsFile(text.str(), name);
    c.file.merge(parsed.paths);
    for (std::string& problem : parsed.problems) {
        std::cerr << "quelt: ports file " << problem << "\n";
        c.problems.push_back(std::move(problem));
    }
}

void readFilesOnce(PortConfig& c) {
    if (!c.filesRead) {
        c.filesRead = true;
        readPortsFile(userPortsFile(), c);
        readPortsFile("/etc/quelt/ports.conf", c);
    }
}

}  // namespace

void setPortOptions(PortPaths options) {
    std::lock_guard lock(config().mutex);
    config().options = std::move(options);
}

PortMapping serialPortMapping(int com) {
    PortConfig& c = config();
    std::lock_guard lock(c.mutex);
    readFilesOnce(c);
    return resolvePort(com, PortMapSources{c.options, c.file, envOr("QUELT_PORT_DIR")});
}

std::vector<std::string> portsFileProblems() {
    PortConfig& c = config();
    std::lock_guard lock(c.mutex);
    readFilesOnce(c);
    return c.problems;
}

PortReport checkSerialPort(int com) {
    PortReport report;
    report.com = com;
    report.mapping = serialPortMapping(com);
    struct stat info {};
    report.exists = !report.mapping.path.empty() && ::stat(report.mapping.path.c_str(), &info) == 0;
    const auto channel = makeSerialChannel();
    report.openable = channel->open(com) == 1;
    if (!report.openable) {
        report.error = channel->openError();
    }
    channel->close();
    return report;
}

}  // namespace quelt

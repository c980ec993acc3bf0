// The port map on Windows: COM n is "\\.\COMn" unless the command line named another device.
#include <windows.h>

#include <mutex>
#include <string>

#include "platform/serial/port_map.h"
#include "platform/serial/serial_port.h"
#include "platform/serial/win32/serial_channel.h"

namespace quelt {
namespace {

struct PortConfig {
    std::mutex mutex;
    PortPaths options;
};

PortConfig& config() {
    static PortConfig instance;
    return instance;
}

std::wstring widen(const std::string& text) {
    if (text.empty()) {
        return {};
    }
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0) {
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                            size);
    }
    return wide;
}

}  // namespace

void setPortOptions(PortPaths options) {
    std::lock_guard lock(config().mutex);
    config().options = std::move(options);
}

PortMapping serialPortMapping(int com) {
    std::lock_guard lock(config().mutex);
    PortMapSources sources;
    sources.options = config().options;
    sources.defaultPrefix = "\\\\.\\COM";
    PortMapping mapping = resolvePort(com, sources);
    if (mapping.source == PortSource::Default && !mapping.path.empty()) {
        // The default prefix gave "COM(n-1)"; Windows numbers ports as the user does.
        mapping.path = "\\\\.\\COM" + std::to_string(com);
    }
    return mapping;
}

std::vector<std::string> portsFileProblems() {
    return {};
}

PortReport checkSerialPort(int com) {
    PortReport report;
    report.com = com;
    report.mapping = serialPortMapping(com);
    const auto channel = makeSerialChannel();
    report.openable = channel->open(com) == 1;
    report.exists = report.openable || channel->openFailure() != OpenFailure::NoSuchPort;
    report.error = channel->openError();
    channel->close();
    return report;
}

void closePortsOnSignals() {}

namespace win32 {

std::wstring portDevicePath(int com) {
    return widen(serialPortMapping(com).path);
}

std::string openFailureText(int com, DWORD code, OpenFailure& kind) {
    const std::string label =
        "COM" + std::to_string(com) + " (" + serialPortMapping(com).path + "): ";
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) {
        kind = OpenFailure::NoSuchPort;
        return label + "no such port";
    }
    if (code == ERROR_ACCESS_DENIED || code == ERROR_SHARING_VIOLATION) {
        kind = OpenFailure::Busy;
        return label + "access denied (another program holds the port)";
    }
    kind = OpenFailure::Other;
    return label + "cannot be opened (error " + std::to_string(code) + ")";
}

}  // namespace win32

}  // namespace quelt

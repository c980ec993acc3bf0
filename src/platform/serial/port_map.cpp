#include "platform/serial/port_map.h"

#include <cctype>

namespace quelt {
namespace {

std::string_view trim(std::string_view text) {
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && isSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// "COM1".."COM14", the letters in any case; 0 for anything else.
int comNumber(std::string_view name) {
    if (name.size() < 4 || name.size() > 5) {
        return 0;
    }
    for (std::size_t i = 0; i < 3; ++i) {
        if (std::toupper(static_cast<unsigned char>(name[i])) != "COM"[i]) {
            return 0;
        }
    }
    int value = 0;
    for (char c : name.substr(3)) {
        if (c < '0' || c > '9') {
            return 0;
        }
        value = value * 10 + (c - '0');
    }
    if (name[3] == '0' || value < kFirstMappedPort || value > kLastMappedPort) {
        return 0;
    }
    return value;
}

// Everything from a "#" that starts the line or follows a blank is a comment.
std::string_view withoutComment(std::string_view line) {
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '#' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t')) {
            return line.substr(0, i);
        }
    }
    return line;
}

}  // namespace

const char* portSourceName(PortSource source) {
    switch (source) {
        case PortSource::File:
            return "file";
        case PortSource::Env:
            return "env";
        case PortSource::Option:
            return "option";
        case PortSource::Default:
            break;
    }
    return "default";
}

std::optional<std::pair<int, std::string>> parsePortAssignment(std::string_view text) {
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    const int com = comNumber(trim(text.substr(0, equals)));
    const std::string_view path = trim(text.substr(equals + 1));
    if (com == 0 || path.empty()) {
        return std::nullopt;
    }
    return std::make_pair(com, std::string(path));
}

PortsFileText parsePortsFile(std::string_view text, std::string_view fileName) {
    PortsFileText result;
    int lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++lineNumber;
        const std::string_view content = trim(withoutComment(line));
        if (content.empty()) {
            continue;
        }
        if (auto assignment = parsePortAssignment(content)) {
            result.paths[assignment->first] = std::move(assignment->second);
            continue;
        }
        result.problems.push_back(std::string(fileName) + ":" + std::to_string(lineNumber) +
                                  ": not \"COMn = PATH\" (n 1 to 14), line ignored");
    }
    return result;
}

PortMapping resolvePort(int com, const PortMapSources& sources) {
    if (com < kFirstMappedPort || com > kLastMappedPort) {
        return {};
    }
    if (auto it = sources.options.find(com); it != sources.options.end()) {
        return {it->second, PortSource::Option};
    }
    if (auto it = sources.file.find(com); it != sources.file.end()) {
        return {it->second, PortSource::File};
    }
    if (!sources.portDir.empty()) {
        std::string path = sources.portDir;
        if (path.back() != '/') {
            path += '/';
        }
        return {path + "COM" + std::to_string(com), PortSource::Env};
    }
    return {sources.defaultPrefix + std::to_string(com - 1), PortSource::Default};
}

}  // namespace quelt

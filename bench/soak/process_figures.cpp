#include "bench/soak/process_figures.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace quelt::bench {

namespace {

// The number after "Key:" in /proc/PID/status.
long StatusField(const std::string& status, const std::string& key) {
    std::istringstream lines(status);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind(key + ":", 0) == 0) {
            return std::stol(line.substr(key.size() + 1));
        }
    }
    return -1;
}

}  // namespace

ProcessFigures readProcessFigures(pid_t pid) {
    const std::string root = pid == 0 ? "/proc/self" : "/proc/" + std::to_string(pid);
    ProcessFigures figures;
    std::error_code error;
    long fds = 0;
    for (std::filesystem::directory_iterator it(root + "/fd", error), end; !error && it != end;
         it.increment(error)) {
        ++fds;
    }
    if (!error) {
        // The listing itself holds one descriptor of this process while it runs.
        figures.fds = pid == 0 ? fds - 1 : fds;
    }
    std::ifstream file(root + "/status");
    std::stringstream status;
    status << file.rdbuf();
    figures.threads = StatusField(status.str(), "Threads");
    figures.rssKiB = StatusField(status.str(), "VmRSS");
    figures.peakRssKiB = StatusField(status.str(), "VmHWM");
    return figures;
}

std::string describe(const ProcessFigures& figures) {
    char text[96];
    std::snprintf(text, sizeof text, "fds %ld, threads %ld, rss %.1f MiB", figures.fds,
                  figures.threads, static_cast<double>(figures.rssKiB) / 1024.0);
    return text;
}

}  // namespace quelt::bench

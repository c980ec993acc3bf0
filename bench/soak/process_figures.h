#pragma once
// What a long run must not let grow, read from /proc (Linux): open file descriptors, threads
// and resident memory of a process.
#include <sys/types.h>

#include <string>

namespace quelt::bench {

struct ProcessFigures {
    long fds = -1;
    long threads = -1;
    long rssKiB = -1;
    long peakRssKiB = -1;
};

// Figures of process `pid` (0: this process); fields stay -1 when /proc cannot tell.
ProcessFigures readProcessFigures(pid_t pid = 0);

// "fds 7, threads 1, rss 5.2 MiB"
std::string describe(const ProcessFigures& figures);

}  // namespace quelt::bench

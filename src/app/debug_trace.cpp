#include "app/debug_trace.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <vector>

namespace quelt {
namespace {

std::atomic<TraceSender> traceSender{nullptr};

}  // namespace

TraceSender setTraceSender(TraceSender sender) {
    return traceSender.exchange(sender);
}

void debugTrace(bool send, const char* format, ...) {
    std::vector<char> buffer(kTraceBufferSize, '\0');
    std::va_list args;
    va_start(args, format);
    const int written = std::vsnprintf(buffer.data(), buffer.size(), format, args);
    va_end(args);
    if (written < 0) {
        buffer[0] = '\0';  // an encoding error leaves nothing worth sending
    }
    buffer[kTraceBufferSize - 1] = '\0';
    if (!send) {
        return;
    }
    if (TraceSender sender = traceSender.load()) {
        sender(buffer.data());
    }
}

}  // namespace quelt

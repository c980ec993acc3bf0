#include "base/debug_trace.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <vector>

namespace quelt {
namespace {

std::atomic<TraceSender> traceSender{nullptr};
std::atomic<bool> traceEverything{false};

constexpr std::size_t kTraceCharacters = kTraceBufferSize - 1;
// A UTF-16 unit never takes more than three bytes of UTF-8 (four bytes make two units).
constexpr std::size_t kFormatBytes = 3 * kTraceCharacters + 1;

// Length in bytes of the longest prefix of `text` that is whole UTF-8 sequences and at most
// `units` UTF-16 code units: the trace is cut at a character, never inside one.
std::size_t prefixOfUnits(const char* text, std::size_t units) {
    std::size_t bytes = 0;
    std::size_t used = 0;
    while (text[bytes] != '\0') {
        const auto lead = static_cast<unsigned char>(text[bytes]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        const std::size_t needs = length == 4 ? 2 : 1;
        std::size_t present = 1;
        while (present < length && text[bytes + present] != '\0') {
            ++present;
        }
        if (present < length || used + needs > units) {
            break;
        }
        bytes += length;
        used += needs;
    }
    return bytes;
}

}  // namespace

TraceSender setTraceSender(TraceSender sender) {
    return traceSender.exchange(sender);
}

void setTraceEverything(bool on) {
    traceEverything = on;
}

void debugTrace(bool send, const char* format, ...) {
    std::vector<char> buffer(kFormatBytes, '\0');
    std::va_list args;
    va_start(args, format);
    const int written = std::vsnprintf(buffer.data(), buffer.size(), format, args);
    va_end(args);
    if (written < 0) {
        buffer[0] = '\0';  // an encoding error leaves nothing worth sending
    }
    buffer[prefixOfUnits(buffer.data(), kTraceCharacters)] = '\0';
    if (!send && !traceEverything.load()) {
        return;
    }
    if (TraceSender sender = traceSender.load()) {
        sender(buffer.data());
    }
}

}  // namespace quelt

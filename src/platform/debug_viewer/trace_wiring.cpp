#include "platform/debug_viewer/trace_wiring.h"

#include <cstdio>
#include <cstring>

#include "base/debug_trace.h"
#include "platform/debug_viewer/debug_viewer.h"

namespace quelt {
namespace {

void toViewer(const char* text) {
    sendToDebugViewer(text);
}

void toViewerAndStandardError(const char* text) {
    sendToDebugViewer(text);
    std::fprintf(stderr, "%s\n", text);
    std::fflush(stderr);
}

}  // namespace

bool wireDebugTrace(const char* traceSetting) {
    const bool everything = traceSetting != nullptr && std::strcmp(traceSetting, "1") == 0;
    setTraceEverything(everything);
    setTraceSender(everything ? &toViewerAndStandardError : &toViewer);
    return everything;
}

}  // namespace quelt

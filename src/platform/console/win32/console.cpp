// A GUI-subsystem executable starts without standard streams; started from a console, it can
// borrow that console for its output.
#include <windows.h>

#include <cstdio>

#include "platform/console/console.h"

namespace quelt {

namespace {

bool HasStream(DWORD which) {
    const HANDLE stream = GetStdHandle(which);
    return stream != nullptr && stream != INVALID_HANDLE_VALUE;
}

}  // namespace

void attachParentConsole() {
    const bool hasOut = HasStream(STD_OUTPUT_HANDLE);
    const bool hasErr = HasStream(STD_ERROR_HANDLE);
    if ((hasOut && hasErr) || !AttachConsole(ATTACH_PARENT_PROCESS)) {
        return;
    }
    std::FILE* reopened = nullptr;
    if (!hasOut) {
        freopen_s(&reopened, "CONOUT$", "w", stdout);
    }
    if (!hasErr) {
        freopen_s(&reopened, "CONOUT$", "w", stderr);
    }
}

}  // namespace quelt

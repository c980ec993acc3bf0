#include "platform/debug_viewer/debug_viewer.h"

#include <windows.h>

#include "platform/os/win32/wide_string.h"

namespace quelt {

bool sendToDebugViewer(const std::string& text) {
    const std::wstring title = win32::widen(kDebugViewerTitle);
    HWND viewer = FindWindowW(nullptr, title.c_str());
    if (viewer == nullptr) {
        return false;
    }
    const std::wstring wide = win32::widen(text);
    SendMessageW(viewer, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    return true;
}

}  // namespace quelt

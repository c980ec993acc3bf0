#include "platform/debug_viewer.h"

#include <windows.h>

#include "platform/window/win32/wide_text.h"

namespace quelt {

bool sendToDebugViewer(const std::string& text) {
    const std::wstring title = toWide(kDebugViewerTitle);
    HWND viewer = FindWindowW(nullptr, title.c_str());
    if (viewer == nullptr) {
        return false;
    }
    const std::wstring wide = toWide(text);
    SendMessageW(viewer, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    return true;
}

}  // namespace quelt

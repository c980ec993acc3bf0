#pragma once
// Hands a line of developer trace to a separate viewer program whose top-level window is titled
// "Debug Viewer". Keeps no state and may be called from any thread. Returns false when no such
// window exists (the text is then dropped).
//   Windows: the viewer's window receives WM_SETTEXT with the text.
//   X11: the text is stored as the UTF-8 property _QUELT_DEBUG_TEXT of the viewer's window.
#include <string>

namespace quelt {

inline constexpr const char* kDebugViewerTitle = "Debug Viewer";

bool sendToDebugViewer(const std::string& text);

}  // namespace quelt

#include <windows.h>

#include "native_test_support.h"

namespace quelt::testing {

ErrorBoxSeen dismissOpenErrorBox() {
    ErrorBoxSeen seen;
    HWND box = FindWindowW(L"#32770", L"QueltError...");
    if (box == nullptr) {
        return seen;
    }
    seen.found = true;
    seen.title = "QueltError...";
    HWND owner = GetWindow(box, GW_OWNER);
    seen.owned = owner != nullptr;
    seen.modal = owner != nullptr && IsWindowEnabled(owner) == FALSE;
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return seen;
}

std::uint32_t screenPixel(int x, int y) {
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    if (colour == CLR_INVALID) {
        return 0xDEADBEEFu;
    }
    return (std::uint32_t{GetRValue(colour)} << 16) | (std::uint32_t{GetGValue(colour)} << 8) |
           GetBValue(colour);
}

}  // namespace quelt::testing

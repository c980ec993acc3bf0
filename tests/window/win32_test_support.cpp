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

void failOnToolkitCriticals() {}

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

#include <vector>

namespace quelt::testing {

// A plain window that keeps the text it is given without taking it as its title, so the viewer
// stays findable after a hand-over.
namespace {

std::wstring& keptText() {
    static std::wstring text;
    return text;
}

LRESULT CALLBACK viewerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTEXT) {
        keptText() = reinterpret_cast<const wchar_t*>(lParam);
        return TRUE;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

TitledWindow::TitledWindow(const std::string& title) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"QueltTestViewer";
    RegisterClassW(&windowClass);
    const std::wstring wideTitle(title.begin(), title.end());
    HWND hwnd = CreateWindowExW(0, L"QueltTestViewer", wideTitle.c_str(), WS_OVERLAPPED, 0, 0, 100,
                                100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&viewerProc));
    keptText().clear();
    window_ = hwnd;
}

TitledWindow::~TitledWindow() {
    DestroyWindow(static_cast<HWND>(window_));
}

std::string TitledWindow::receivedText() const {
    std::string text;
    for (wchar_t c : keptText()) {
        text.push_back(static_cast<char>(c));
    }
    return text;
}

}  // namespace quelt::testing

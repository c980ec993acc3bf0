// The Win32 host's placement: one SetWindowPos after HWND_NOTOPMOST that moves, shows and
// stacks the window at the top of the ordinary windows, out of the always-on-top band.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "platform/window/window_host.h"

namespace quelt {
namespace {

BOOL CALLBACK findSkinnedWindow(HWND hwnd, LPARAM found) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    if (std::wstring(name) == L"QueltSkinnedWindow") {
        *reinterpret_cast<HWND*>(found) = hwnd;
        return FALSE;
    }
    return TRUE;
}

bool isAbove(HWND upper, HWND lower) {
    for (HWND w = GetWindow(upper, GW_HWNDNEXT); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
        if (w == lower) {
            return true;
        }
    }
    return false;
}

TEST(Win32Placement, PlaceAndShowMovesShowsAndLeavesTheTopmostBand) {
    auto host = makeNativeWindowHost();
    if (!host->create(200, 100)) {
        GTEST_SKIP() << "no display to make windows on";
    }
    std::vector<std::uint32_t> grey(200 * 100, 0xFF808080u);
    host->present(grey.data(), 200, 100, 200 * 4);
    HWND panel = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &findSkinnedWindow, reinterpret_cast<LPARAM>(&panel));
    ASSERT_NE(panel, nullptr);

    // Always on top before, with an ordinary window shown after it.
    SetWindowPos(panel, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ASSERT_NE(GetWindowLongW(panel, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 10, 10, 50, 50,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(other, nullptr);
    host->waitPumpingMessages(50);

    host->placeAndShow(120, 90);
    host->waitPumpingMessages(100);
    EXPECT_TRUE(host->isVisible());
    EXPECT_EQ(host->screenPosition().x, 120);
    EXPECT_EQ(host->screenPosition().y, 90);
    EXPECT_EQ(host->clientRect().width(), 200);
    EXPECT_EQ(host->clientRect().height(), 100);
    EXPECT_EQ(GetWindowLongW(panel, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_TRUE(isAbove(panel, other));
    DestroyWindow(other);
}

}  // namespace
}  // namespace quelt

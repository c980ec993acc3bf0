// The Win32 host's side of the UI thread: numbered messages, steps of other threads, and the
// thread's message loop.
#include "platform/window/win32/win32_window_host.h"

namespace quelt {

namespace {

void translateAndDispatch(MSG& msg) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

}  // namespace

bool Win32WindowHost::post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    HWND hwnd = hwnd_.load();
    return hwnd != nullptr && PostMessageW(hwnd, message, static_cast<WPARAM>(wParam),
                                           static_cast<LPARAM>(lParam)) != 0;
}

std::intptr_t Win32WindowHost::send(std::uint32_t message, std::uintptr_t wParam,
                                    std::intptr_t lParam) {
    HWND hwnd = hwnd_.load();
    if (hwnd == nullptr) {
        return 0;
    }
    return static_cast<std::intptr_t>(
        SendMessageW(hwnd, message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam)));
}

bool Win32WindowHost::runOnUiThread(const std::function<void()>& step) {
    return queue_.runOnUiThread(isUiThread(), step, [this] {
        if (HWND hwnd = hwnd_.load()) {
            PostMessageW(hwnd, kRunStepsMessage, 0, 0);
        }
    });
}

int Win32WindowHost::run() {
    MSG msg{};
    for (;;) {
        const BOOL result = GetMessageW(&msg, nullptr, 0, 0);
        if (result == 0) {
            return static_cast<int>(msg.wParam);
        }
        if (result == -1) {
            return -1;
        }
        translateAndDispatch(msg);
    }
}

void Win32WindowHost::quit(int exitCode) {
    if (isUiThread()) {
        PostQuitMessage(exitCode);
        return;
    }
    HWND hwnd = hwnd_.load();
    if (hwnd == nullptr || !PostMessageW(hwnd, kQuitMessage, static_cast<WPARAM>(exitCode), 0)) {
        PostThreadMessageW(uiThreadId_, WM_QUIT, static_cast<WPARAM>(exitCode), 0);
    }
}

void Win32WindowHost::waitPumpingMessages(std::uint32_t ms) {
    const ULONGLONG deadline = GetTickCount64() + ms;
    for (;;) {
        MSG msg{};
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));  // kept for the run loop
                return;
            }
            translateAndDispatch(msg);
        }
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) {
            return;
        }
        MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(deadline - now), QS_ALLINPUT,
                                    MWMO_INPUTAVAILABLE);
    }
}

}  // namespace quelt

// The Win32 host's window procedure and input: pointer messages, cursor, capture, the caption
// drag, and the keys and close requests that never end the window.
#include "platform/window/win32/win32_window_host.h"

namespace quelt {

namespace {

int pointX(LPARAM lParam) {
    return static_cast<int>(static_cast<short>(LOWORD(lParam)));
}
int pointY(LPARAM lParam) {
    return static_cast<int>(static_cast<short>(HIWORD(lParam)));
}

}  // namespace

LRESULT CALLBACK Win32WindowHost::windowProc(HWND hwnd, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    auto* host = reinterpret_cast<Win32WindowHost*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (host == nullptr) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return host->handle(hwnd, message, wParam, lParam);
}

void Win32WindowHost::deliver(PointerAction action, WPARAM wParam, LPARAM lParam) {
    if (handler_ != nullptr) {
        handler_->onPointer(PointerInput{action, pointX(lParam), pointY(lParam),
                                         static_cast<std::uint32_t>(wParam & 0x1F)});
    }
}

LRESULT Win32WindowHost::handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kRunStepsMessage:
            while (queue_.dispatchOne(nullptr)) {
            }
            return 0;
        case kQuitMessage:
            PostQuitMessage(static_cast<int>(wParam));
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:  // the second click of a double-click is a second press
            deliver(PointerAction::Press, wParam, lParam);
            return 0;
        case WM_LBUTTONUP:
            deliver(PointerAction::Release, wParam, lParam);
            return 0;
        case WM_MOUSEMOVE:
            deliver(PointerAction::Move, wParam, lParam);
            return 0;
        case WM_SETCURSOR:
            SetCursor(cursor_);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                return 0;  // Enter and Escape never close the window
            }
            break;
        case WM_KEYDOWN:
            if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
                return 0;
            }
            break;
        case WM_CLOSE:
            return 0;  // only the owner ends the window
        case WM_ERASEBKGND:
            return 1;
        default:
            if (message >= WM_USER && handler_ != nullptr) {
                return static_cast<LRESULT>(
                    handler_->onMessage(message, static_cast<std::uintptr_t>(wParam),
                                        static_cast<std::intptr_t>(lParam)));
            }
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void Win32WindowHost::setCapture() {
    runUiOperation(*this, [this] {
        if (HWND hwnd = hwnd_.load()) {
            SetCapture(hwnd);
        }
    });
}

void Win32WindowHost::releaseCapture() {
    runUiOperation(*this, [this] {
        HWND hwnd = hwnd_.load();
        if (hwnd != nullptr && GetCapture() == hwnd) {
            ReleaseCapture();
        }
    });
}

void Win32WindowHost::setCursor(CursorShape shape) {
    runUiOperation(*this, [this, shape] {
        cursor_ = LoadCursorW(nullptr, shape == CursorShape::Hand ? IDC_HAND : IDC_ARROW);
        SetCursor(cursor_);
    });
}

void Win32WindowHost::beginCaptionDrag(int x, int y) {
    runUiOperation(*this, [this, x, y] {
        HWND hwnd = hwnd_.load();
        if (hwnd == nullptr) {
            return;
        }
        if (GetCapture() == hwnd) {
            ReleaseCapture();
        }
        POINT point{x, y};
        ClientToScreen(hwnd, &point);
        // The system's move loop starts when this press on the caption arrives.
        PostMessageW(hwnd, WM_NCLBUTTONDOWN, HTCAPTION,
                     MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y)));
    });
}

}  // namespace quelt

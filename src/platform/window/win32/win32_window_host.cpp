// The window host on Win32: a WS_POPUP window with WS_EX_LAYERED whose whole face is a 32-bit
// premultiplied DIB section handed to UpdateLayeredWindow with per-pixel alpha. Numbered messages
// are ordinary window messages; steps of other threads travel through a queue woken by a private
// message, so every modal loop of the thread (message boxes, the caption drag) keeps running them.
#include <windows.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "platform/os/win32/wide_string.h"
#include "platform/window/ui_queue.h"
#include "platform/window/window_host.h"

namespace quelt {

namespace {

constexpr UINT kRunStepsMessage = WM_APP + 0x3F0;  // drain the step queue
constexpr UINT kQuitMessage = WM_APP + 0x3F1;      // wParam: exit code
constexpr wchar_t kWindowClass[] = L"QueltSkinnedWindow";
constexpr WORD kAppIconResource = 1;

int pointX(LPARAM lParam) {
    return static_cast<int>(static_cast<short>(LOWORD(lParam)));
}
int pointY(LPARAM lParam) {
    return static_cast<int>(static_cast<short>(HIWORD(lParam)));
}

// The canvas copy: a top-down 32-bit DIB section selected into a memory device context.
class LayeredSurface {
  public:
    ~LayeredSurface() { release(); }

    bool ensure(int width, int height) {
        if (bits_ != nullptr && width == width_ && height == height_) {
            return true;
        }
        release();
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top-down rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        if (dc_ == nullptr) {
            return false;
        }
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        if (bitmap_ == nullptr || bits_ == nullptr) {
            release();
            return false;
        }
        previous_ = SelectObject(dc_, bitmap_);
        width_ = width;
        height_ = height;
        return true;
    }

    void release() {
        if (dc_ != nullptr && previous_ != nullptr) {
            SelectObject(dc_, previous_);
        }
        if (bitmap_ != nullptr) {
            DeleteObject(bitmap_);
        }
        if (dc_ != nullptr) {
            DeleteDC(dc_);
        }
        dc_ = nullptr;
        bitmap_ = nullptr;
        previous_ = nullptr;
        bits_ = nullptr;
        width_ = 0;
        height_ = 0;
    }

    HDC dc() const { return dc_; }
    std::uint32_t* row(int y) const {
        return static_cast<std::uint32_t*>(bits_) +
               static_cast<std::ptrdiff_t>(y) * static_cast<std::ptrdiff_t>(width_);
    }

  private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    void* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

class Win32WindowHost : public WindowHost {
  public:
    Win32WindowHost() : uiThread_(std::this_thread::get_id()), uiThreadId_(GetCurrentThreadId()) {}
    ~Win32WindowHost() override { destroy(); }

    bool create(int width, int height) override;
    void destroy() override;
    bool isCreated() const override { return hwnd_.load() != nullptr; }
    void setHandler(WindowHandler* handler) override { handler_ = handler; }
    bool isUiThread() const override { return std::this_thread::get_id() == uiThread_; }
    void setTitle(const std::string& title) override {
        title_ = win32::widen(title);
        if (HWND hwnd = hwnd_.load()) {
            SetWindowTextW(hwnd, title_.c_str());
        }
    }
    void setOwner(const WindowHost& owner) override { owner_ = &owner; }
    void* nativeWindow() const override { return hwnd_.load(); }

    bool post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override {
        HWND hwnd = hwnd_.load();
        return hwnd != nullptr && PostMessageW(hwnd, message, static_cast<WPARAM>(wParam),
                                               static_cast<LPARAM>(lParam)) != 0;
    }
    std::intptr_t send(std::uint32_t message, std::uintptr_t wParam,
                       std::intptr_t lParam) override {
        HWND hwnd = hwnd_.load();
        if (hwnd == nullptr) {
            return 0;
        }
        return static_cast<std::intptr_t>(
            SendMessageW(hwnd, message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam)));
    }
    bool runOnUiThread(const std::function<void()>& step) override {
        return queue_.runOnUiThread(isUiThread(), step, [this] {
            if (HWND hwnd = hwnd_.load()) {
                PostMessageW(hwnd, kRunStepsMessage, 0, 0);
            }
        });
    }

    void setCapture() override;
    void releaseCapture() override;
    void setCursor(CursorShape shape) override;
    void beginCaptionDrag(int x, int y) override;

    void move(int x, int y) override;
    void show() override;
    void hide() override;
    bool isVisible() const override;
    WindowRect clientRect() const override;
    WindowPoint screenPosition() const override;

    void present(const std::uint32_t* premultipliedArgb, int width, int height,
                 int strideBytes) override;

    void showErrorBox(const std::string& text) override;
    int run() override;
    void quit(int exitCode) override;
    void waitPumpingMessages(std::uint32_t ms) override;

  private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void deliver(PointerAction action, WPARAM wParam, LPARAM lParam);

    std::thread::id uiThread_;
    DWORD uiThreadId_ = 0;
    WindowHandler* handler_ = nullptr;
    UiQueue queue_;
    std::atomic<HWND> hwnd_{nullptr};
    std::wstring title_;
    const WindowHost* owner_ = nullptr;
    HCURSOR cursor_ = nullptr;
    LayeredSurface surface_;
};

bool registerWindowClass() {
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.style = CS_DBLCLKS;  // double-clicks arrive, and count as a second press
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kWindowClass;
        // The program's icon (resource 1), when the executable carries one.
        windowClass.hIcon = LoadIconW(windowClass.hInstance, MAKEINTRESOURCEW(kAppIconResource));
        return RegisterClassExW(&windowClass) != 0;
    }();
    return registered;
}

bool Win32WindowHost::create(int width, int height) {
    if (hwnd_.load() != nullptr) {
        return true;
    }
    if (!registerWindowClass()) {
        return false;
    }
    cursor_ = LoadCursorW(nullptr, IDC_ARROW);
    // An owned popup (the splash) gets no taskbar button of its own.
    HWND owner = owner_ != nullptr ? static_cast<HWND>(owner_->nativeWindow()) : nullptr;
    HWND hwnd = CreateWindowExW(WS_EX_LAYERED, kWindowClass, title_.c_str(), WS_POPUP, 0, 0, width,
                                height, owner, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (hwnd == nullptr) {
        return false;
    }
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&windowProc));
    hwnd_ = hwnd;
    queue_.open();
    return true;
}

void Win32WindowHost::destroy() {
    queue_.close();
    HWND hwnd = hwnd_.exchange(nullptr);
    if (hwnd != nullptr) {
        if (GetCapture() == hwnd) {
            ReleaseCapture();
        }
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        DestroyWindow(hwnd);
    }
    surface_.release();
}

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

void Win32WindowHost::move(int x, int y) {
    runUiOperation(*this, [this, x, y] {
        if (HWND hwnd = hwnd_.load()) {
            SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    });
}

void Win32WindowHost::show() {
    runUiOperation(*this, [this] {
        if (HWND hwnd = hwnd_.load()) {
            ShowWindow(hwnd, SW_SHOW);
        }
    });
}

void Win32WindowHost::hide() {
    runUiOperation(*this, [this] {
        if (HWND hwnd = hwnd_.load()) {
            ShowWindow(hwnd, SW_HIDE);
        }
    });
}

bool Win32WindowHost::isVisible() const {
    HWND hwnd = hwnd_.load();
    return hwnd != nullptr && IsWindowVisible(hwnd) != 0;
}

WindowRect Win32WindowHost::clientRect() const {
    RECT rect{};
    if (HWND hwnd = hwnd_.load()) {
        GetClientRect(hwnd, &rect);
    }
    return WindowRect{rect.left, rect.top, rect.right, rect.bottom};
}

WindowPoint Win32WindowHost::screenPosition() const {
    RECT rect{};
    if (HWND hwnd = hwnd_.load()) {
        GetWindowRect(hwnd, &rect);
    }
    return WindowPoint{rect.left, rect.top};
}

void Win32WindowHost::present(const std::uint32_t* premultipliedArgb, int width, int height,
                              int strideBytes) {
    runUiOperation(*this, [&] {
        HWND hwnd = hwnd_.load();
        if (hwnd == nullptr || premultipliedArgb == nullptr || width <= 0 || height <= 0 ||
            !surface_.ensure(width, height)) {
            return;
        }
        GdiFlush();
        const auto* source = reinterpret_cast<const unsigned char*>(premultipliedArgb);
        for (int y = 0; y < height; ++y) {
            std::memcpy(surface_.row(y), source + static_cast<std::ptrdiff_t>(y) * strideBytes,
                        static_cast<std::size_t>(width) * sizeof(std::uint32_t));
        }
        const LONG exStyle = GetWindowLongW(hwnd, GWL_EXSTYLE);
        if ((exStyle & WS_EX_LAYERED) == 0) {
            SetWindowLongW(hwnd, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
        }
        RECT windowRect{};
        GetWindowRect(hwnd, &windowRect);
        POINT destination{windowRect.left, windowRect.top};
        SIZE size{width, height};
        POINT origin{0, 0};
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        HDC screen = GetDC(nullptr);
        UpdateLayeredWindow(hwnd, screen, &destination, &size, surface_.dc(), &origin, 0, &blend,
                            ULW_ALPHA);
        ReleaseDC(nullptr, screen);
    });
}

void Win32WindowHost::showErrorBox(const std::string& text) {
    runUiOperation(*this, [&] {
        const std::wstring wideText = win32::widen(text);
        const std::wstring caption = win32::widen(kErrorBoxCaption);
        MessageBoxW(hwnd_.load(), wideText.c_str(), caption.c_str(), MB_ICONERROR);
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
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
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
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) {
            return;
        }
        MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(deadline - now), QS_ALLINPUT,
                                    MWMO_INPUTAVAILABLE);
    }
}

}  // namespace

std::unique_ptr<WindowHost> makeNativeWindowHost() {
    return std::make_unique<Win32WindowHost>();
}

void showStandaloneErrorBox(const std::string& text) {
    const std::wstring wideText = win32::widen(text);
    const std::wstring caption = win32::widen(kErrorBoxCaption);
    MessageBoxW(nullptr, wideText.c_str(), caption.c_str(), MB_ICONERROR);
}

}  // namespace quelt

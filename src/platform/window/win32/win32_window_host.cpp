// The Win32 host's window: its class, creating and destroying it, placement, showing its frame
// (composed in place by the dialog, or a copy) with UpdateLayeredWindowIndirect, handing over the
// part that changed, and the error boxes.
#include "platform/window/win32/win32_window_host.h"

#include <cstring>

#include "platform/os/win32/wide_string.h"

namespace quelt {

namespace {

constexpr wchar_t kWindowClass[] = L"QueltSkinnedWindow";
constexpr WORD kAppIconResource = 1;

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

// The screen's device context, released when it goes out of scope.
struct ScreenDcReleaser {
    void operator()(HDC dc) const { ReleaseDC(nullptr, dc); }
};
using ScreenDc = std::unique_ptr<std::remove_pointer_t<HDC>, ScreenDcReleaser>;

void showMessageBox(HWND owner, const std::string& text) {
    const std::wstring wideText = win32::widen(text);
    const std::wstring caption = win32::widen(kErrorBoxCaption);
    MessageBoxW(owner, wideText.c_str(), caption.c_str(), MB_ICONERROR);
}

}  // namespace

bool LayeredSurface::ensure(int width, int height) {
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
    dc_.reset(CreateCompatibleDC(nullptr));
    if (dc_ == nullptr) {
        return false;
    }
    bitmap_.reset(CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
    if (bitmap_ == nullptr || bits_ == nullptr) {
        release();
        return false;
    }
    selection_ =
        UniqueSelection(SelectObject(dc_.get(), bitmap_.get()), SelectionRestorer{dc_.get()});
    width_ = width;
    height_ = height;
    return true;
}

void LayeredSurface::release() {
    selection_.reset();
    bitmap_.reset();
    dc_.reset();
    bits_ = nullptr;
    width_ = 0;
    height_ = 0;
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
    window_.reset(CreateWindowExW(WS_EX_LAYERED, kWindowClass, title_.c_str(), WS_POPUP, 0, 0,
                                  width, height, owner, nullptr, GetModuleHandleW(nullptr),
                                  nullptr));
    HWND hwnd = window_.get();
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
    }
    window_.reset();
    changes_.forget();
    // The surface stays: a canvas may still be composed in its bits until the host is gone.
}

std::uint32_t* Win32WindowHost::frameBuffer(int width, int height) {
    if (!isUiThread() || width <= 0 || height <= 0 || !surface_.ensure(width, height)) {
        return nullptr;
    }
    GdiFlush();
    return surface_.row(0);
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
        changes_.forget();
        if (HWND hwnd = hwnd_.load()) {
            ShowWindow(hwnd, SW_SHOW);
        }
    });
}

void Win32WindowHost::placeAndShow(int x, int y) {
    runUiOperation(*this, [this, x, y] {
        changes_.forget();
        if (HWND hwnd = hwnd_.load()) {
            SetWindowPos(hwnd, HWND_NOTOPMOST, x, y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
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
        if (hwnd == nullptr || premultipliedArgb == nullptr || width <= 0 || height <= 0) {
            return;
        }
        // Our own bits at another size would be freed by the resize: nothing sound to show.
        const bool ownBits = surface_.holds(premultipliedArgb);
        if ((ownBits && !surface_.hasSize(width, height)) || !surface_.ensure(width, height)) {
            return;
        }
        GdiFlush();
        // A frame composed in the surface's own bits is shown as it is; any other is copied in.
        if (premultipliedArgb != surface_.row(0) || strideBytes != width * 4) {
            const auto* source = reinterpret_cast<const unsigned char*>(premultipliedArgb);
            for (int y = 0; y < height; ++y) {
                std::memcpy(surface_.row(y), source + static_cast<std::ptrdiff_t>(y) * strideBytes,
                            static_cast<std::size_t>(width) * sizeof(std::uint32_t));
            }
        }
        const LONG exStyle = GetWindowLongW(hwnd, GWL_EXSTYLE);
        if ((exStyle & WS_EX_LAYERED) == 0) {
            SetWindowLongW(hwnd, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
            changes_.forget();
        }
        RECT windowRect{};
        GetWindowRect(hwnd, &windowRect);
        POINT destination{windowRect.left, windowRect.top};
        if (destination.x != shownAt_.x || destination.y != shownAt_.y) {
            changes_.forget();  // hand the whole face over wherever the window went
            shownAt_ = destination;
        }
        // Only the part that changed is blended into the window: on a slider move that is the
        // slider and its label, not the whole panel.
        const ShapeRect changed = changes_.update(surface_.row(0), width, height, width * 4);
        if (changed.width == 0) {
            return;
        }
        RECT dirty{changed.x, changed.y, changed.x + changed.width, changed.y + changed.height};
        SIZE size{width, height};
        POINT origin{0, 0};
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        const ScreenDc screen(GetDC(nullptr));
        UPDATELAYEREDWINDOWINFO info{};
        info.cbSize = sizeof(info);
        info.hdcDst = screen.get();
        info.pptDst = &destination;
        info.psize = &size;
        info.hdcSrc = surface_.dc();
        info.pptSrc = &origin;
        info.pblend = &blend;
        info.dwFlags = ULW_ALPHA;
        info.prcDirty = &dirty;
        if (!UpdateLayeredWindowIndirect(hwnd, &info)) {
            changes_.forget();
        }
    });
}

void Win32WindowHost::showErrorBox(const std::string& text) {
    runUiOperation(*this, [&] { showMessageBox(hwnd_.load(), text); });
}

std::unique_ptr<WindowHost> makeNativeWindowHost() {
    return std::make_unique<Win32WindowHost>();
}

void showStandaloneErrorBox(const std::string& text) {
    showMessageBox(nullptr, text);
}

void quitOnTerminationSignals() {}

void Win32WindowHost::setTitle(const std::string& title) {
    title_ = win32::widen(title);
    if (HWND hwnd = hwnd_.load()) {
        SetWindowTextW(hwnd, title_.c_str());
    }
}

}  // namespace quelt

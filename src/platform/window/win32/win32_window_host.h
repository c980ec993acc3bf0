#pragma once
// The window host on Win32 (private to the Win32 backend): a WS_POPUP window with WS_EX_LAYERED
// whose whole face is a 32-bit premultiplied DIB section handed to UpdateLayeredWindow with
// per-pixel alpha. Numbered messages are ordinary window messages; steps of other threads travel
// through a queue woken by a private message, so every modal loop of the thread (message boxes,
// the caption drag) keeps running them.
//
// Its jobs live in three files: win32_window_host.cpp (the window, placement, drawing and error
// boxes), win32_input.cpp (the window procedure, pointer, cursor, capture, caption drag) and
// win32_loop.cpp (messages, steps and the thread's message loop).
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <type_traits>

#include "base/unique_with.h"
#include "platform/window/frame_changes.h"
#include "platform/window/ui_queue.h"
#include "platform/window/window_host.h"

namespace quelt {

inline constexpr UINT kRunStepsMessage = WM_APP + 0x3F0;  // drain the step queue
inline constexpr UINT kQuitMessage = WM_APP + 0x3F1;      // wParam: exit code

using UniqueWindow = UniqueWith<std::remove_pointer_t<HWND>, &DestroyWindow>;
using UniqueDc = UniqueWith<std::remove_pointer_t<HDC>, &DeleteDC>;
using UniqueBitmap = UniqueWith<std::remove_pointer_t<HBITMAP>, &DeleteObject>;

// Puts the object a device context held before back into it.
struct SelectionRestorer {
    HDC dc = nullptr;
    void operator()(HGDIOBJ previous) const { SelectObject(dc, previous); }
};
using UniqueSelection = std::unique_ptr<std::remove_pointer_t<HGDIOBJ>, SelectionRestorer>;

// The canvas copy: a top-down 32-bit DIB section selected into a memory device context.
class LayeredSurface {
  public:
    // Keeps the surface when it has this size already; false when it cannot be made.
    bool ensure(int width, int height);
    void release();

    HDC dc() const { return dc_.get(); }
    bool hasSize(int width, int height) const {
        return bits_ != nullptr && width == width_ && height == height_;
    }
    bool holds(const void* pixels) const { return bits_ != nullptr && pixels == bits_; }
    std::uint32_t* row(int y) const {
        return static_cast<std::uint32_t*>(bits_) +
               static_cast<std::ptrdiff_t>(y) * static_cast<std::ptrdiff_t>(width_);
    }

  private:
    UniqueDc dc_;
    UniqueBitmap bitmap_;
    UniqueSelection selection_;  // the bitmap in dc_, until released
    void* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

class Win32WindowHost final : public WindowHost {
  public:
    Win32WindowHost() : uiThread_(std::this_thread::get_id()), uiThreadId_(GetCurrentThreadId()) {}
    ~Win32WindowHost() override { destroy(); }

    QUELT_WINDOW_HOST_OPERATIONS
    void setTitle(const std::string& title) override;
    void setOwner(const WindowHost& owner) override { owner_ = &owner; }
    void* nativeWindow() const override { return hwnd_.load(); }
    void placeAndShow(int x, int y) override;
    std::uint32_t* frameBuffer(int width, int height) override;
    bool isCreated() const override { return hwnd_.load() != nullptr; }
    void setHandler(WindowHandler* handler) override { handler_ = handler; }
    bool isUiThread() const override { return std::this_thread::get_id() == uiThread_; }

    // The window procedure of every host window (win32_input.cpp).
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  private:
    LRESULT handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void deliver(PointerAction action, WPARAM wParam, LPARAM lParam);

    std::thread::id uiThread_;
    DWORD uiThreadId_ = 0;
    WindowHandler* handler_ = nullptr;
    UiQueue queue_;
    UniqueWindow window_;              // UI thread
    std::atomic<HWND> hwnd_{nullptr};  // the same window, for every thread
    HCURSOR cursor_ = nullptr;
    std::wstring title_;
    const WindowHost* owner_ = nullptr;
    LayeredSurface surface_;
    FrameChanges changes_;  // what the window shows, to hand over only what changed
    POINT shownAt_{};
};

// The window's data holds `this`: the host never moves.
static_assert(!std::is_copy_constructible_v<Win32WindowHost> &&
              !std::is_move_constructible_v<Win32WindowHost>);

}  // namespace quelt

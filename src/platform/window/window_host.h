#pragma once
// What a skinned window needs from the platform: one borderless per-pixel-alpha window, its
// numbered messages, pointer input, cursor and capture, moving and showing, presenting a canvas,
// modal error boxes and the user-interface thread's message loop.
//
// Threads: the thread that constructs a host is its user-interface (UI) thread. The handler is
// only ever called on that thread. `post`, `send`, `runOnUiThread`, `showErrorBox` and `quit` may
// be called from any thread; the other operations belong to the UI thread, and the native hosts
// carry a call from another thread over to it (and wait). `create`, `destroy`, `run` and
// `waitPumpingMessages` are for the UI thread only.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace quelt {

// Numbered messages of a window start here (the platform keeps the numbers below for itself).
inline constexpr std::uint32_t kUserMessage = 1024;

// Key and button flags that accompany pointer input (same bits on every platform).
inline constexpr std::uint32_t kPointerLeftButton = 0x0001;
inline constexpr std::uint32_t kPointerRightButton = 0x0002;
inline constexpr std::uint32_t kPointerShift = 0x0004;
inline constexpr std::uint32_t kPointerControl = 0x0008;
inline constexpr std::uint32_t kPointerMiddleButton = 0x0010;

enum class PointerAction { Press, Release, Move };

// Left-button input in client pixels. A double-click arrives as a second Press, so the two
// clicks of a double-click count as two presses. Coordinates may lie outside the client area
// while the pointer is captured.
struct PointerInput {
    PointerAction action = PointerAction::Move;
    int x = 0;
    int y = 0;
    std::uint32_t flags = 0;
};

enum class CursorShape { Arrow, Hand };

// Rectangle with right and bottom exclusive.
struct WindowRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

struct WindowPoint {
    int x = 0;
    int y = 0;
};

// Implemented by the window's owner (the panel, the splash). Called on the UI thread only.
class WindowHandler {
  public:
    virtual ~WindowHandler() = default;
    // A numbered message (posted or sent). The result is what `send` returns.
    virtual std::intptr_t onMessage(std::uint32_t message, std::uintptr_t wParam,
                                    std::intptr_t lParam) = 0;
    virtual void onPointer(const PointerInput& input) = 0;
};

// A host hands its own address to the platform (signal handlers, window data), so hosts are
// neither copied nor moved.
class WindowHost {
  public:
    WindowHost() = default;
    WindowHost(const WindowHost&) = delete;
    WindowHost& operator=(const WindowHost&) = delete;
    virtual ~WindowHost() = default;

    // --- window ---
    // Creates the hidden, borderless window of the given client size at (0, 0). Returns false
    // when the platform cannot make a window (for example, no display). Enter and Escape never
    // close it, and neither does a close request from the window manager.
    virtual bool create(int width, int height) = 0;
    // Destroys the window. Messages still queued are dropped, and callers waiting in `send` or
    // `runOnUiThread` return (the step not run). Also done by the destructor.
    virtual void destroy() = 0;
    virtual bool isCreated() const = 0;
    // The handler receives messages and input; null detaches it. Set it before `create`.
    virtual void setHandler(WindowHandler* handler) = 0;
    virtual bool isUiThread() const = 0;
    // The native window's title, which the taskbar and window lists show (the skinned face draws
    // its own). UI thread; before or after `create`.
    virtual void setTitle(const std::string& title) = 0;
    // Makes this window owned by `owner`'s: it stays in front of it and gets no taskbar entry of
    // its own. UI thread, before `create`; `owner` is created first and outlives this window.
    virtual void setOwner(const WindowHost& owner) = 0;
    // The platform's handle of the window (HWND, GtkWidget*); null while there is none.
    virtual void* nativeWindow() const = 0;

    // --- messages ---
    // Queues a message; messages are handled in the order posted (per posting thread). Never
    // blocks. False when the window does not exist.
    virtual bool post(std::uint32_t message, std::uintptr_t wParam = 0,
                      std::intptr_t lParam = 0) = 0;
    // Handles a message synchronously: on the UI thread the handler is called directly, from
    // another thread the caller waits for the UI thread to handle it. 0 without a window.
    virtual std::intptr_t send(std::uint32_t message, std::uintptr_t wParam = 0,
                               std::intptr_t lParam = 0) = 0;
    // Runs `step` on the UI thread and waits for it. On the UI thread it runs inline. Steps are
    // also run while the UI thread shows a modal error box or waits in `waitPumpingMessages`.
    // Returns false (step not run) when the window is destroyed before the step could run.
    virtual bool runOnUiThread(const std::function<void()>& step) = 0;

    // --- pointer ---
    // While captured, every pointer input reaches this window, even outside it.
    virtual void setCapture() = 0;
    virtual void releaseCapture() = 0;
    // Takes effect at once and stays until changed.
    virtual void setCursor(CursorShape shape) = 0;
    // Starts moving the window with the pointer, for a press at client point (x, y) in the
    // caption zone. Call it while handling that press; the platform then drags the window.
    virtual void beginCaptionDrag(int x, int y) = 0;

    // --- placement ---
    // Moves the window's top-left corner to screen point (x, y); the size is kept.
    virtual void move(int x, int y) = 0;
    virtual void show() = 0;
    // Moves the window's top-left corner to (x, y), keeps its size, shows it and stacks it at
    // the top of the windows that are not always on top, taking it out of that band if it was
    // in it (Windows: one SetWindowPos after HWND_NOTOPMOST with SWP_NOSIZE | SWP_SHOWWINDOW).
    // Where the platform has no more to offer, a move and a show.
    virtual void placeAndShow(int x, int y) {
        move(x, y);
        show();
    }
    virtual void hide() = 0;
    virtual bool isVisible() const = 0;
    // (0, 0, width, height) of the client area.
    virtual WindowRect clientRect() const = 0;
    // Screen position of the window's top-left corner.
    virtual WindowPoint screenPosition() const = 0;

    // --- drawing ---
    // Shows a canvas of premultiplied 32-bit ARGB pixels (alpha in the top byte, native byte
    // order) with per-pixel alpha: alpha 0 is fully transparent and lets the pointer through.
    // The window takes the canvas's size; its position stays. The pixels are copied, unless they
    // are the host's own frame (below). Hosts that shape the window from alpha take the shape
    // from the first frame of each size and from the frame after `outlineChanged`.
    virtual void present(const std::uint32_t* premultipliedArgb, int width, int height,
                         int strideBytes) = 0;
    // UI thread: memory of the host's own for a frame of this size (premultiplied ARGB, rows
    // 4 * width bytes apart) to compose into, so that presenting it copies nothing. It stays at
    // the same address until a frame of another size is asked for or the host object is gone
    // (`destroy` keeps it). Null where the host has none: then `present` copies.
    virtual std::uint32_t* frameBuffer(int /*width*/, int /*height*/) { return nullptr; }
    // The next frame's alpha outline may differ from the frames presented so far (a new
    // background): the next `present` takes the window's shapes from it again.
    virtual void outlineChanged() {}

    // --- modal boxes and the loop ---
    // Modal error box owned by this window, caption "QueltError...", error icon, one OK button.
    // Returns when it is dismissed. From another thread it is shown by the UI thread while the
    // caller waits. The UI thread keeps handling posted messages and steps meanwhile.
    virtual void showErrorBox(const std::string& text) = 0;
    // Runs the UI thread's message loop until `quit`; returns the exit code. The loop serves
    // every window of the thread (the splash's messages are handled while the panel runs).
    virtual int run() = 0;
    // Ends `run` with `exitCode`; through any window of the thread, from any thread. A quit
    // requested before `run` makes it return at once.
    virtual void quit(int exitCode) = 0;
    // UI thread only: handles the thread's messages as they come for `ms` milliseconds without
    // spinning a processor core. Returns early when a quit is requested (the quit stays pending
    // for `run`).
    virtual void waitPumpingMessages(std::uint32_t ms) = 0;
};

// Declares, in the body of a host class, the operations above that a host defines out of line:
// every one but `isCreated`, `setHandler` and `isUiThread`, which each host declares itself. One
// list for the native hosts and the headless one.
#define QUELT_WINDOW_HOST_OPERATIONS                                                             \
    bool create(int width, int height) override;                                                 \
    void destroy() override;                                                                     \
    bool post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;      \
    std::intptr_t send(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam)       \
        override;                                                                                \
    bool runOnUiThread(const std::function<void()>& step) override;                              \
    void setCapture() override;                                                                  \
    void releaseCapture() override;                                                              \
    void setCursor(CursorShape shape) override;                                                  \
    void beginCaptionDrag(int x, int y) override;                                                \
    void move(int x, int y) override;                                                            \
    void show() override;                                                                        \
    void hide() override;                                                                        \
    bool isVisible() const override;                                                             \
    WindowRect clientRect() const override;                                                      \
    WindowPoint screenPosition() const override;                                                 \
    void present(const std::uint32_t* premultipliedArgb, int width, int height, int strideBytes) \
        override;                                                                                \
    void showErrorBox(const std::string& text) override;                                         \
    int run() override;                                                                          \
    void quit(int exitCode) override;                                                            \
    void waitPumpingMessages(std::uint32_t ms) override;

// The platform's window host (GTK on Linux, Win32 on Windows), bound to the calling thread.
// Never null; `create` reports whether a window can be made.
std::unique_ptr<WindowHost> makeNativeWindowHost();

// Modal error box with the caption "QueltError..." and no owner window, for failures before any
// window exists. Falls back to standard error when no display is available.
void showStandaloneErrorBox(const std::string& text);

// For a program with windows, once, on its UI thread. Linux: SIGINT, SIGTERM and SIGHUP end the
// UI thread's loop like a quit with 128 + the signal, so the program closes its boxes and
// windows as on any quit; an error box then open is answered and none is shown after (its text
// goes to standard error). Windows: nothing (a windowed program gets no such signals).
void quitOnTerminationSignals();

inline constexpr const char* kErrorBoxCaption = "QueltError...";

}  // namespace quelt

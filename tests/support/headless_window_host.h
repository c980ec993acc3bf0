#pragma once
// A window host without any window: it records every call and handles posted messages only when
// the test pumps. The panel's and the splash's unit tests run on it.
//
// Several hosts can share one UI thread (the splash and the panel do): construct the later ones
// with the first, and they share its message loop, as windows of one thread do. `quit` then ends
// the loop for all of them.
//
// Calls from threads other than the UI thread are recorded with `onUiThread` false instead of
// being carried over, so a test can see that code which must hand work to the UI thread did so.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

#include "platform/window/ui_queue.h"
#include "platform/window/window_host.h"

namespace quelt {

enum class HostCall {
    Create,
    Destroy,
    Post,
    Send,
    SetCapture,
    ReleaseCapture,
    SetCursor,
    CaptionDrag,
    Move,
    Show,
    Place,  // placeAndShow: move, show, stacked at the top of the ordinary windows
    Hide,
    Present,
    ErrorBox,
    Quit,
    Wait,
};

struct HostEvent {
    HostCall call = HostCall::Create;
    std::uint32_t message = 0;  // Post, Send; Wait: the milliseconds; Quit: the exit code
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
    int x = 0;  // CaptionDrag, Move, Place: the point; Create, Present: width and height
    int y = 0;
    CursorShape cursor = CursorShape::Arrow;
    std::string text;  // ErrorBox
    bool onUiThread = true;
};

struct PresentedFrame {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // premultiplied ARGB, width * height, no padding
    std::uint32_t pixel(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

class HeadlessWindowHost : public WindowHost {
  public:
    HeadlessWindowHost();
    // A further window on the UI thread of `sameThread`, sharing its message loop.
    explicit HeadlessWindowHost(HeadlessWindowHost& sameThread);
    ~HeadlessWindowHost() override;

    QUELT_WINDOW_HOST_OPERATIONS
    void placeAndShow(int x, int y) override;
    bool isCreated() const override;
    // The host's own frame, presented without a copy, as the native hosts do.
    std::uint32_t* frameBuffer(int width, int height) override;
    void setHandler(WindowHandler* handler) override { handler_ = handler; }
    bool isUiThread() const override { return std::this_thread::get_id() == loop_->uiThread; }
    void setTitle(const std::string& title) override;
    void setOwner(const WindowHost& owner) override;
    // The host itself stands for its window while it is created.
    void* nativeWindow() const override;

    // --- test side ---
    // Handles everything queued, including what the handlers queue meanwhile. Returns the count.
    int pump();
    // Handles items as they arrive until `done` holds (true) or `limit` passes (false).
    bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);
    // Pointer input as the platform would deliver it (call on the UI thread).
    void injectPointer(PointerAction action, int x, int y, std::uint32_t flags = 0);
    // The second click of a double-click: delivered as a press.
    void injectDoubleClick(int x, int y, std::uint32_t flags = kPointerLeftButton);
    // Runs while an error box is "open", on the thread showing it (default: dismissed at once).
    // It may pump, as the modal loop of a real box does.
    void setErrorBoxAction(std::function<void(const std::string&)> action);
    // By default `waitPumpingMessages` handles what is queued and returns at once; with real
    // time it waits the given time, handling messages as they come.
    void setRealTimeWaits(bool realTime) { realTimeWaits_ = realTime; }

    std::vector<HostEvent> events() const;
    std::vector<HostEvent> eventsOf(HostCall call) const;
    void clearEvents();
    std::vector<std::string> errorBoxTexts() const;
    bool hasCapture() const;
    std::string title() const;
    // The owner in force when the window was created (null: none).
    const WindowHost* ownerAtCreate() const;
    CursorShape cursor() const;
    // A frame presented from the host's own memory reads as that memory is now.
    PresentedFrame lastFrame() const;
    int presentCount() const;
    bool quitRequested() const { return loop_->quitRequested.load(); }
    int exitCode() const { return loop_->exitCode.load(); }

  private:
    // The message loop of one UI thread, shared by its windows.
    struct Loop {
        std::thread::id uiThread = std::this_thread::get_id();
        UiQueue queue;
        std::mutex mutex;
        int createdWindows = 0;
        std::atomic<bool> quitRequested{false};
        std::atomic<int> exitCode{0};
    };

    void record(HostEvent event);
    void dispatch(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
    bool dispatchOne();

    std::shared_ptr<Loop> loop_;
    // Queued messages hold it weakly, so those of a destroyed window are dropped.
    std::shared_ptr<HeadlessWindowHost*> alive_;
    WindowHandler* handler_ = nullptr;

    mutable std::mutex mutex_;
    std::vector<HostEvent> events_;
    bool created_ = false;
    std::string title_;
    const WindowHost* owner_ = nullptr;
    const WindowHost* ownerAtCreate_ = nullptr;
    bool visible_ = false;
    bool captured_ = false;
    CursorShape cursor_ = CursorShape::Arrow;
    WindowPoint position_;
    int width_ = 0;
    int height_ = 0;
    PresentedFrame frame_;
    PresentedFrame ownFrame_;  // frameBuffer's memory
    bool presentedOwn_ = false;
    int presents_ = 0;
    std::function<void(const std::string&)> errorBoxAction_;
    bool realTimeWaits_ = false;
};

// Queued messages and further hosts hold `this`: a host never moves.
static_assert(!std::is_copy_constructible_v<HeadlessWindowHost> &&
              !std::is_move_constructible_v<HeadlessWindowHost>);

}  // namespace quelt

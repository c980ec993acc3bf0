#pragma once
// The window host on GTK 3 / X11 (private to the GTK backend): an undecorated toplevel with an
// RGBA visual, painted with cairo from its frame (composed in place by the dialog, or a copy).
// Without a compositor the X server ignores alpha, so the window is then shaped from the canvas's
// alpha channel; the input shape always follows alpha, so fully transparent pixels let the pointer
// through on every setup.
//
// Its jobs live in three files: gtk_window_host.cpp (the window, its shape and painting),
// gtk_input.cpp (pointer, cursor, capture, caption drag, keys) and gtk_loop.cpp (the UI queue and
// the thread's main loop).
#include <gtk/gtk.h>

#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

#include "platform/window/alpha_shape.h"
#include "platform/window/gtk/gtk_owners.h"
#include "platform/window/ui_queue.h"
#include "platform/window/window_host.h"

namespace quelt {

// True once a termination signal has ended the UI thread's loop (gtk_loop.cpp).
bool endedBySignal();

class GtkWindowHost final : public WindowHost {
  public:
    GtkWindowHost() : uiThread_(std::this_thread::get_id()) {}
    ~GtkWindowHost() override { destroy(); }

    QUELT_WINDOW_HOST_OPERATIONS
    bool isCreated() const override { return window_ != nullptr; }
    std::uint32_t* frameBuffer(int width, int height) override;
    void outlineChanged() override { shaped_ = false; }
    void setTitle(const std::string& title) override;
    void setOwner(const WindowHost& owner) override { owner_ = &owner; }
    void* nativeWindow() const override { return window_.get(); }
    void setHandler(WindowHandler* handler) override { handler_ = handler; }
    bool isUiThread() const override { return std::this_thread::get_id() == uiThread_; }

    // Called by the queue source on the UI thread.
    bool queueHasItems() const { return !queue_.empty(); }
    void dispatchQueued();

  private:
    // Answers a query on the UI thread (GTK state is only read there).
    template <class F>
    void query(F&& read) const {
        if (isUiThread()) {
            read();
        } else {
            const_cast<GtkWindowHost*>(this)->runOnUiThread(std::function<void()>(read));
        }
    }
    WindowPoint positionNow() const;
    void applyShape();
    // Pixels and surface for a frame of this size (kept when it has that size already).
    bool ensureFrame(int width, int height);

    // gtk_input.cpp: the window's input signals; its two cursors (once it is realized).
    void connectInput();
    void loadCursors();
    void deliver(PointerAction action, double x, double y, std::uint32_t flags);
    // gtk_loop.cpp: the source that drains the queue on the thread's main loop.
    void attachQueue();

    static gboolean onDraw(GtkWidget*, cairo_t* cr, gpointer self);
    static void onCompositedChanged(GtkWidget*, gpointer self);
    static gboolean onButtonPress(GtkWidget*, GdkEventButton* event, gpointer self);
    static gboolean onButtonRelease(GtkWidget*, GdkEventButton* event, gpointer self);
    static gboolean onMotion(GtkWidget*, GdkEventMotion* event, gpointer self);
    static gboolean onKeyPress(GtkWidget*, GdkEventKey* event, gpointer self);

    std::thread::id uiThread_;
    WindowHandler* handler_ = nullptr;
    UiQueue queue_;
    GSourceOwner source_;

    GtkWidgetOwner window_;
    std::string title_;
    const WindowHost* owner_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    WindowPoint position_;

    // The frame shown, in memory the X server can read directly where it offers shared memory (so
    // showing a frame copies nothing on our side); canvases may compose in it.
    CairoSurface surface_;
    std::uint32_t* pixels_ = nullptr;  // the surface's pixels, rows of frameWidth_
    int frameWidth_ = 0;
    int frameHeight_ = 0;
    std::vector<ShapeRect> inputShape_;
    std::vector<ShapeRect> outputShape_;
    bool shaped_ = false;

    GObjectOwner<GdkCursor> arrow_;
    GObjectOwner<GdkCursor> hand_;
    CursorShape cursor_ = CursorShape::Arrow;
    GdkSeat* grabbedSeat_ = nullptr;

    guint32 lastPressTime_ = GDK_CURRENT_TIME;
    int lastPressButton_ = 1;
};

// The signal handlers and the queue source hold `this`: the host never moves.
static_assert(!std::is_copy_constructible_v<GtkWindowHost> &&
              !std::is_move_constructible_v<GtkWindowHost>);

}  // namespace quelt

// The window host on GTK 3 / X11: an undecorated toplevel with an RGBA visual, painted from a
// copy of the canvas with cairo. Without a compositor the X server ignores alpha, so the window
// is then shaped from the canvas's alpha channel; the input shape always follows alpha, so fully
// transparent pixels let the pointer through on every setup.
#include <gtk/gtk.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

#include "base/version.h"
#include "platform/window/alpha_shape.h"
#include "platform/window/gtk/gtk_error_box.h"
#include "platform/window/ui_queue.h"
#include "platform/window/window_host.h"

namespace quelt {

namespace {

// Pixels at least this opaque are drawn when the window has to be shaped (no compositor).
constexpr std::uint8_t kVisibleAlpha = 128;

std::uint32_t pointerFlags(guint state) {
    std::uint32_t flags = 0;
    if ((state & GDK_BUTTON1_MASK) != 0) {
        flags |= kPointerLeftButton;
    }
    if ((state & GDK_BUTTON3_MASK) != 0) {
        flags |= kPointerRightButton;
    }
    if ((state & GDK_BUTTON2_MASK) != 0) {
        flags |= kPointerMiddleButton;
    }
    if ((state & GDK_SHIFT_MASK) != 0) {
        flags |= kPointerShift;
    }
    if ((state & GDK_CONTROL_MASK) != 0) {
        flags |= kPointerControl;
    }
    return flags;
}

cairo_region_t* regionOf(const std::vector<ShapeRect>& rects) {
    std::vector<cairo_rectangle_int_t> cairoRects;
    cairoRects.reserve(rects.size());
    for (const ShapeRect& rect : rects) {
        cairoRects.push_back(cairo_rectangle_int_t{rect.x, rect.y, rect.width, rect.height});
    }
    return cairo_region_create_rectangles(cairoRects.data(), static_cast<int>(cairoRects.size()));
}

class GtkWindowHost;

struct QueueSource {
    GSource base;
    GtkWindowHost* host;
};

class GtkWindowHost : public WindowHost {
  public:
    GtkWindowHost() : uiThread_(std::this_thread::get_id()) {}
    ~GtkWindowHost() override { destroy(); }

    bool create(int width, int height) override;
    void destroy() override;
    bool isCreated() const override { return window_ != nullptr; }
    void setHandler(WindowHandler* handler) override { handler_ = handler; }
    bool isUiThread() const override { return std::this_thread::get_id() == uiThread_; }
    void setTitle(const std::string& title) override;
    void setOwner(const WindowHost& owner) override { owner_ = &owner; }
    void* nativeWindow() const override { return window_; }

    bool post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override {
        if (!queue_.post(message, wParam, lParam)) {
            return false;
        }
        g_main_context_wakeup(nullptr);
        return true;
    }
    std::intptr_t send(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
    bool runOnUiThread(const std::function<void()>& step) override {
        return queue_.runOnUiThread(isUiThread(), step, [] { g_main_context_wakeup(nullptr); });
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
    void deliver(PointerAction action, double x, double y, std::uint32_t flags);

    static gboolean onDraw(GtkWidget*, cairo_t* cr, gpointer self);
    static gboolean onButtonPress(GtkWidget*, GdkEventButton* event, gpointer self);
    static gboolean onButtonRelease(GtkWidget*, GdkEventButton* event, gpointer self);
    static gboolean onMotion(GtkWidget*, GdkEventMotion* event, gpointer self);
    static gboolean onKeyPress(GtkWidget*, GdkEventKey* event, gpointer self);
    static gboolean onDelete(GtkWidget*, GdkEvent*, gpointer) { return TRUE; }
    static void onCompositedChanged(GtkWidget*, gpointer self);

    std::thread::id uiThread_;
    WindowHandler* handler_ = nullptr;
    UiQueue queue_;
    GSource* source_ = nullptr;

    GtkWidget* window_ = nullptr;
    std::string title_;
    const WindowHost* owner_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    WindowPoint position_;

    std::vector<std::uint32_t> pixels_;
    cairo_surface_t* surface_ = nullptr;
    std::vector<ShapeRect> inputShape_;
    std::vector<ShapeRect> outputShape_;
    bool shaped_ = false;

    GdkCursor* arrow_ = nullptr;
    GdkCursor* hand_ = nullptr;
    CursorShape cursor_ = CursorShape::Arrow;
    GdkSeat* grabbedSeat_ = nullptr;

    guint32 lastPressTime_ = GDK_CURRENT_TIME;
    int lastPressButton_ = 1;
};

// The UI thread's loop is GLib's default main context, shared by every window of the thread, so
// a quit through any of them ends it (as a quit message ends a Windows thread's loop).
struct LoopState {
    std::atomic<bool> quitRequested{false};
    std::atomic<int> exitCode{0};
};

LoopState& loopState() {
    static LoopState state;
    return state;
}

gboolean queuePrepare(GSource* source, gint* timeout) {
    *timeout = -1;
    return reinterpret_cast<QueueSource*>(source)->host->queueHasItems() ? TRUE : FALSE;
}

gboolean queueCheck(GSource* source) {
    return reinterpret_cast<QueueSource*>(source)->host->queueHasItems() ? TRUE : FALSE;
}

gboolean queueDispatch(GSource* source, GSourceFunc, gpointer) {
    reinterpret_cast<QueueSource*>(source)->host->dispatchQueued();
    return G_SOURCE_CONTINUE;
}

GSourceFuncs queueSourceFuncs = {queuePrepare, queueCheck, queueDispatch,
                                 nullptr,      nullptr,    nullptr};

bool GtkWindowHost::create(int width, int height) {
    if (window_ != nullptr) {
        return true;
    }
    if (!gtk_init_check(nullptr, nullptr)) {
        return false;
    }
    width_ = width;
    height_ = height;
    window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    GtkWindow* window = GTK_WINDOW(window_);
    gtk_window_set_decorated(window, FALSE);
    gtk_window_set_resizable(window, FALSE);
    gtk_window_set_title(window, title_.c_str());
    gtk_window_set_icon_name(window, kAppId);
    if (owner_ != nullptr && owner_->nativeWindow() != nullptr) {
        // One taskbar entry: the owned window (the splash) rides on its owner's.
        gtk_window_set_transient_for(window, GTK_WINDOW(owner_->nativeWindow()));
        gtk_window_set_skip_taskbar_hint(window, TRUE);
        gtk_window_set_skip_pager_hint(window, TRUE);
    }
    gtk_widget_set_app_paintable(window_, TRUE);
    GdkScreen* screen = gtk_widget_get_screen(window_);
    if (GdkVisual* visual = gdk_screen_get_rgba_visual(screen)) {
        gtk_widget_set_visual(window_, visual);
    }
    gtk_widget_set_size_request(window_, width, height);
    gtk_window_set_default_size(window, width, height);
    gtk_window_move(window, 0, 0);
    gtk_widget_add_events(window_, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK |
                                       GDK_POINTER_MOTION_MASK | GDK_KEY_PRESS_MASK);
    g_signal_connect(window_, "draw", G_CALLBACK(onDraw), this);
    g_signal_connect(window_, "button-press-event", G_CALLBACK(onButtonPress), this);
    g_signal_connect(window_, "button-release-event", G_CALLBACK(onButtonRelease), this);
    g_signal_connect(window_, "motion-notify-event", G_CALLBACK(onMotion), this);
    g_signal_connect(window_, "key-press-event", G_CALLBACK(onKeyPress), this);
    g_signal_connect(window_, "delete-event", G_CALLBACK(onDelete), this);
    g_signal_connect(window_, "composited-changed", G_CALLBACK(onCompositedChanged), this);
    gtk_widget_realize(window_);

    GdkDisplay* display = gtk_widget_get_display(window_);
    arrow_ = gdk_cursor_new_from_name(display, "default");
    hand_ = gdk_cursor_new_from_name(display, "pointer");
    setCursor(cursor_);

    source_ = g_source_new(&queueSourceFuncs, sizeof(QueueSource));
    reinterpret_cast<QueueSource*>(source_)->host = this;
    // A modal box's nested loop must keep handling the queue while a queued item is running.
    g_source_set_can_recurse(source_, TRUE);
    g_source_attach(source_, nullptr);
    queue_.open();
    return true;
}

void GtkWindowHost::destroy() {
    queue_.close();
    if (source_ != nullptr) {
        g_source_destroy(source_);
        g_source_unref(source_);
        source_ = nullptr;
    }
    if (window_ != nullptr) {
        releaseCapture();
        gtk_widget_destroy(window_);
        window_ = nullptr;
    }
    if (arrow_ != nullptr) {
        g_object_unref(arrow_);
        arrow_ = nullptr;
    }
    if (hand_ != nullptr) {
        g_object_unref(hand_);
        hand_ = nullptr;
    }
    if (surface_ != nullptr) {
        cairo_surface_destroy(surface_);
        surface_ = nullptr;
    }
    pixels_.clear();
    inputShape_.clear();
    outputShape_.clear();
    shaped_ = false;
}

void GtkWindowHost::dispatchQueued() {
    queue_.dispatchOne([this](std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
        if (handler_ != nullptr) {
            handler_->onMessage(message, wParam, lParam);
        }
    });
}

std::intptr_t GtkWindowHost::send(std::uint32_t message, std::uintptr_t wParam,
                                  std::intptr_t lParam) {
    std::intptr_t result = 0;
    runUiOperation(*this, [&] {
        if (window_ != nullptr && handler_ != nullptr) {
            result = handler_->onMessage(message, wParam, lParam);
        }
    });
    return result;
}

void GtkWindowHost::setTitle(const std::string& title) {
    title_ = title;
    if (window_ != nullptr) {
        gtk_window_set_title(GTK_WINDOW(window_), title_.c_str());
    }
}

void GtkWindowHost::setCapture() {
    runUiOperation(*this, [this] {
        if (window_ == nullptr || grabbedSeat_ != nullptr) {
            return;
        }
        GdkWindow* gdkWindow = gtk_widget_get_window(window_);
        GdkSeat* seat = gdk_display_get_default_seat(gtk_widget_get_display(window_));
        if (gdkWindow != nullptr && seat != nullptr &&
            gdk_seat_grab(seat, gdkWindow, GDK_SEAT_CAPABILITY_ALL_POINTING, FALSE, nullptr,
                          nullptr, nullptr, nullptr) == GDK_GRAB_SUCCESS) {
            grabbedSeat_ = seat;
        }
    });
}

void GtkWindowHost::releaseCapture() {
    runUiOperation(*this, [this] {
        if (grabbedSeat_ != nullptr) {
            gdk_seat_ungrab(grabbedSeat_);
            grabbedSeat_ = nullptr;
        }
    });
}

void GtkWindowHost::setCursor(CursorShape shape) {
    runUiOperation(*this, [this, shape] {
        cursor_ = shape;
        if (window_ == nullptr) {
            return;
        }
        if (GdkWindow* gdkWindow = gtk_widget_get_window(window_)) {
            gdk_window_set_cursor(gdkWindow, shape == CursorShape::Hand ? hand_ : arrow_);
        }
    });
}

void GtkWindowHost::beginCaptionDrag(int x, int y) {
    runUiOperation(*this, [this, x, y] {
        if (window_ == nullptr) {
            return;
        }
        releaseCapture();
        const WindowPoint origin = positionNow();
        gtk_window_begin_move_drag(GTK_WINDOW(window_), lastPressButton_, origin.x + x,
                                   origin.y + y, lastPressTime_);
    });
}

void GtkWindowHost::move(int x, int y) {
    runUiOperation(*this, [this, x, y] {
        position_ = WindowPoint{x, y};
        if (window_ != nullptr) {
            gtk_window_move(GTK_WINDOW(window_), x, y);
        }
    });
}

void GtkWindowHost::show() {
    runUiOperation(*this, [this] {
        if (window_ != nullptr) {
            gtk_widget_show(window_);
            // Shown windows come to the front, as on Windows (X keeps the creation order).
            if (GdkWindow* gdkWindow = gtk_widget_get_window(window_)) {
                gdk_window_raise(gdkWindow);
            }
        }
    });
}

void GtkWindowHost::hide() {
    runUiOperation(*this, [this] {
        if (window_ != nullptr) {
            releaseCapture();
            gtk_widget_hide(window_);
        }
    });
}

bool GtkWindowHost::isVisible() const {
    bool visible = false;
    query([&] { visible = window_ != nullptr && gtk_widget_get_visible(window_); });
    return visible;
}

WindowRect GtkWindowHost::clientRect() const {
    WindowRect rect;
    query([&] { rect = WindowRect{0, 0, width_, height_}; });
    return rect;
}

WindowPoint GtkWindowHost::screenPosition() const {
    WindowPoint point;
    query([&] { point = positionNow(); });
    return point;
}

WindowPoint GtkWindowHost::positionNow() const {
    if (window_ != nullptr) {
        GdkWindow* gdkWindow = gtk_widget_get_window(window_);
        if (gdkWindow != nullptr && gtk_widget_get_mapped(window_)) {
            WindowPoint point;
            gdk_window_get_origin(gdkWindow, &point.x, &point.y);
            return point;
        }
        WindowPoint point;
        gtk_window_get_position(GTK_WINDOW(window_), &point.x, &point.y);
        return point;
    }
    return position_;
}

void GtkWindowHost::present(const std::uint32_t* premultipliedArgb, int width, int height,
                            int strideBytes) {
    runUiOperation(*this, [&] {
        if (window_ == nullptr || premultipliedArgb == nullptr || width <= 0 || height <= 0) {
            return;
        }
        const std::size_t rowPixels = static_cast<std::size_t>(width);
        if (surface_ == nullptr || width != width_ || height != height_) {
            if (surface_ != nullptr) {
                cairo_surface_destroy(surface_);
                surface_ = nullptr;
            }
            pixels_.assign(rowPixels * static_cast<std::size_t>(height), 0);
            if (width != width_ || height != height_) {
                width_ = width;
                height_ = height;
                gtk_widget_set_size_request(window_, width, height);
                gtk_window_resize(GTK_WINDOW(window_), width, height);
            }
        }
        const auto* source = reinterpret_cast<const unsigned char*>(premultipliedArgb);
        for (int row = 0; row < height; ++row) {
            std::memcpy(&pixels_[static_cast<std::size_t>(row) * rowPixels],
                        source + static_cast<std::ptrdiff_t>(row) * strideBytes,
                        rowPixels * sizeof(std::uint32_t));
        }
        if (surface_ == nullptr) {
            surface_ = cairo_image_surface_create_for_data(
                reinterpret_cast<unsigned char*>(pixels_.data()), CAIRO_FORMAT_ARGB32, width,
                height, width * 4);
        }
        cairo_surface_mark_dirty(surface_);
        applyShape();
        gtk_widget_queue_draw(window_);
    });
}

void GtkWindowHost::applyShape() {
    if (window_ == nullptr || pixels_.empty()) {
        return;
    }
    const int stride = width_ * 4;
    std::vector<ShapeRect> input = alphaShape(pixels_.data(), width_, height_, stride, 1);
    if (!shaped_ || input != inputShape_) {
        cairo_region_t* region = regionOf(input);
        gtk_widget_input_shape_combine_region(window_, region);
        cairo_region_destroy(region);
        inputShape_ = std::move(input);
    }
    if (gdk_screen_is_composited(gtk_widget_get_screen(window_))) {
        if (!outputShape_.empty() || !shaped_) {
            gtk_widget_shape_combine_region(window_, nullptr);
            outputShape_.clear();
        }
    } else {
        std::vector<ShapeRect> output =
            alphaShape(pixels_.data(), width_, height_, stride, kVisibleAlpha);
        if (!shaped_ || output != outputShape_) {
            cairo_region_t* region = regionOf(output);
            gtk_widget_shape_combine_region(window_, region);
            cairo_region_destroy(region);
            outputShape_ = std::move(output);
        }
    }
    shaped_ = true;
}

void GtkWindowHost::onCompositedChanged(GtkWidget*, gpointer self) {
    auto* host = static_cast<GtkWindowHost*>(self);
    host->shaped_ = false;
    host->outputShape_.clear();
    host->applyShape();
}

gboolean GtkWindowHost::onDraw(GtkWidget*, cairo_t* cr, gpointer self) {
    auto* host = static_cast<GtkWindowHost*>(self);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    if (host->surface_ != nullptr) {
        cairo_set_source_surface(cr, host->surface_, 0, 0);
    } else {
        cairo_set_source_rgba(cr, 0, 0, 0, 0);
    }
    cairo_paint(cr);
    return TRUE;
}

void GtkWindowHost::deliver(PointerAction action, double x, double y, std::uint32_t flags) {
    if (handler_ != nullptr) {
        handler_->onPointer(PointerInput{action, static_cast<int>(std::floor(x)),
                                         static_cast<int>(std::floor(y)), flags});
    }
}

gboolean GtkWindowHost::onButtonPress(GtkWidget*, GdkEventButton* event, gpointer self) {
    // GDK reports the second click of a double-click as a plain press followed by an extra
    // GDK_2BUTTON_PRESS (and a third as GDK_3BUTTON_PRESS). The plain press already counts as
    // the second press, so the extra events are dropped.
    if (event->type != GDK_BUTTON_PRESS || event->button != 1) {
        return TRUE;
    }
    auto* host = static_cast<GtkWindowHost*>(self);
    host->lastPressTime_ = event->time;
    host->lastPressButton_ = static_cast<int>(event->button);
    host->deliver(PointerAction::Press, event->x, event->y,
                  pointerFlags(event->state) | kPointerLeftButton);
    return TRUE;
}

gboolean GtkWindowHost::onButtonRelease(GtkWidget*, GdkEventButton* event, gpointer self) {
    if (event->button != 1) {
        return TRUE;
    }
    static_cast<GtkWindowHost*>(self)->deliver(PointerAction::Release, event->x, event->y,
                                               pointerFlags(event->state) & ~kPointerLeftButton);
    return TRUE;
}

gboolean GtkWindowHost::onMotion(GtkWidget*, GdkEventMotion* event, gpointer self) {
    static_cast<GtkWindowHost*>(self)->deliver(PointerAction::Move, event->x, event->y,
                                               pointerFlags(event->state));
    return TRUE;
}

gboolean GtkWindowHost::onKeyPress(GtkWidget*, GdkEventKey* event, gpointer) {
    // Enter and Escape never act on the window.
    const guint key = event->keyval;
    return (key == GDK_KEY_Return || key == GDK_KEY_KP_Enter || key == GDK_KEY_Escape) ? TRUE
                                                                                       : FALSE;
}

void GtkWindowHost::showErrorBox(const std::string& text) {
    runUiOperation(
        *this, [&] { runGtkErrorBox(window_ != nullptr ? GTK_WINDOW(window_) : nullptr, text); });
}

int GtkWindowHost::run() {
    LoopState& loop = loopState();
    while (!loop.quitRequested.load()) {
        g_main_context_iteration(nullptr, TRUE);
    }
    loop.quitRequested = false;
    return loop.exitCode.load();
}

void GtkWindowHost::quit(int exitCode) {
    LoopState& loop = loopState();
    loop.exitCode = exitCode;
    loop.quitRequested = true;
    g_main_context_wakeup(nullptr);
}

void GtkWindowHost::waitPumpingMessages(std::uint32_t ms) {
    if (!isUiThread()) {
        return;
    }
    bool expired = false;
    const guint timer = g_timeout_add(
        ms,
        [](gpointer flag) -> gboolean {
            *static_cast<bool*>(flag) = true;
            return G_SOURCE_REMOVE;
        },
        &expired);
    while (!expired && !loopState().quitRequested.load()) {
        g_main_context_iteration(nullptr, TRUE);
    }
    if (!expired) {
        g_source_remove(timer);
    }
}

}  // namespace

std::unique_ptr<WindowHost> makeNativeWindowHost() {
    return std::make_unique<GtkWindowHost>();
}

void showStandaloneErrorBox(const std::string& text) {
    if (!gtk_init_check(nullptr, nullptr)) {
        g_printerr("%s: %s\n", kErrorBoxCaption, text.c_str());
        return;
    }
    runGtkErrorBox(nullptr, text);
}

}  // namespace quelt

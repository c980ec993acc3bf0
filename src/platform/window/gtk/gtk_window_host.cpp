// The GTK host's window: creating and destroying it, placement, painting its frame and the alpha
// shapes, and the error boxes. The shapes are taken from the frame only when its outline may have
// changed (a new size, a new background); scanning the alpha of every frame costs more than
// composing it.
#include <cstring>
#include <utility>

#include "base/version.h"
#include "platform/window/gtk/gtk_error_box.h"
#include "platform/window/gtk/gtk_window_host.h"

namespace quelt {

namespace {

// Pixels at least this opaque are drawn when the window has to be shaped (no compositor).
constexpr std::uint8_t kVisibleAlpha = 128;

CairoRegion regionOf(const std::vector<ShapeRect>& rects) {
    std::vector<cairo_rectangle_int_t> cairoRects;
    cairoRects.reserve(rects.size());
    for (const ShapeRect& rect : rects) {
        cairoRects.push_back(cairo_rectangle_int_t{rect.x, rect.y, rect.width, rect.height});
    }
    return CairoRegion(
        cairo_region_create_rectangles(cairoRects.data(), static_cast<int>(cairoRects.size())));
}

// An ARGB image of exactly this size whose rows follow each other with no gap.
bool usableFrame(cairo_surface_t* surface, int width, int height) {
    return surface != nullptr && cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS &&
           cairo_surface_get_type(surface) == CAIRO_SURFACE_TYPE_IMAGE &&
           cairo_image_surface_get_format(surface) == CAIRO_FORMAT_ARGB32 &&
           cairo_image_surface_get_width(surface) == width &&
           cairo_image_surface_get_height(surface) == height &&
           cairo_image_surface_get_stride(surface) == width * 4 &&
           cairo_image_surface_get_data(surface) != nullptr;
}

gboolean onDelete(GtkWidget*, GdkEvent*, gpointer) {
    return TRUE;  // only the owner ends the window
}

}  // namespace

bool GtkWindowHost::create(int width, int height) {
    if (window_ != nullptr) {
        return true;
    }
    if (!gtk_init_check(nullptr, nullptr)) {
        return false;
    }
    width_ = width;
    height_ = height;
    window_.reset(gtk_window_new(GTK_WINDOW_TOPLEVEL));
    GtkWidget* widget = window_.get();
    GtkWindow* window = GTK_WINDOW(widget);
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
    gtk_widget_set_app_paintable(widget, TRUE);
    GdkScreen* screen = gtk_widget_get_screen(widget);
    if (GdkVisual* visual = gdk_screen_get_rgba_visual(screen)) {
        gtk_widget_set_visual(widget, visual);
    }
    gtk_widget_set_size_request(widget, width, height);
    gtk_window_set_default_size(window, width, height);
    gtk_window_move(window, 0, 0);
    g_signal_connect(widget, "draw", G_CALLBACK(onDraw), this);
    g_signal_connect(widget, "delete-event", G_CALLBACK(onDelete), this);
    g_signal_connect(widget, "composited-changed", G_CALLBACK(onCompositedChanged), this);
    connectInput();
    gtk_widget_realize(widget);
    loadCursors();
    attachQueue();
    return true;
}

void GtkWindowHost::destroy() {
    queue_.close();
    source_.reset();
    if (window_ != nullptr) {
        releaseCapture();
        window_.reset();
    }
    arrow_.reset();
    hand_.reset();
    // The frame's memory stays: a canvas may still be composed in it until the host is gone.
    inputShape_.clear();
    outputShape_.clear();
    shaped_ = false;
}

void GtkWindowHost::move(int x, int y) {
    runUiOperation(*this, [this, x, y] {
        position_ = WindowPoint{x, y};
        if (window_ != nullptr) {
            gtk_window_move(GTK_WINDOW(window_.get()), x, y);
        }
    });
}

void GtkWindowHost::show() {
    runUiOperation(*this, [this] {
        if (window_ != nullptr) {
            gtk_widget_show(window_.get());
            // Shown windows come to the front, as on Windows (X keeps the creation order).
            if (GdkWindow* gdkWindow = gtk_widget_get_window(window_.get())) {
                gdk_window_raise(gdkWindow);
            }
        }
    });
}

void GtkWindowHost::hide() {
    runUiOperation(*this, [this] {
        if (window_ != nullptr) {
            releaseCapture();
            gtk_widget_hide(window_.get());
        }
    });
}

bool GtkWindowHost::isVisible() const {
    bool visible = false;
    query([&] { visible = window_ != nullptr && gtk_widget_get_visible(window_.get()); });
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
    if (window_ == nullptr) {
        return position_;
    }
    WindowPoint point;
    GdkWindow* gdkWindow = gtk_widget_get_window(window_.get());
    if (gdkWindow != nullptr && gtk_widget_get_mapped(window_.get())) {
        gdk_window_get_origin(gdkWindow, &point.x, &point.y);
    } else {
        gtk_window_get_position(GTK_WINDOW(window_.get()), &point.x, &point.y);
    }
    return point;
}

bool GtkWindowHost::ensureFrame(int width, int height) {
    if (surface_ != nullptr && width == frameWidth_ && height == frameHeight_) {
        return true;
    }
    surface_.reset();
    pixels_ = nullptr;
    frameWidth_ = 0;
    frameHeight_ = 0;
    shaped_ = false;
    // Like the window where that helps (shared memory with the X server), else plain memory.
    GdkWindow* gdkWindow = window_ != nullptr ? gtk_widget_get_window(window_.get()) : nullptr;
    if (gdkWindow != nullptr) {
        surface_.reset(gdk_window_create_similar_image_surface(gdkWindow, CAIRO_FORMAT_ARGB32,
                                                               width, height, 1));
    }
    if (!usableFrame(surface_.get(), width, height)) {
        surface_.reset(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
    }
    if (!usableFrame(surface_.get(), width, height)) {
        surface_.reset();
        return false;
    }
    pixels_ = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(surface_.get()));
    std::memset(pixels_, 0, static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    cairo_surface_mark_dirty(surface_.get());
    frameWidth_ = width;
    frameHeight_ = height;
    return true;
}

std::uint32_t* GtkWindowHost::frameBuffer(int width, int height) {
    if (!isUiThread() || width <= 0 || height <= 0 || !ensureFrame(width, height)) {
        return nullptr;
    }
    // The X server may still be reading the last frame from shared memory: wait for it.
    cairo_surface_flush(surface_.get());
    return pixels_;
}

void GtkWindowHost::present(const std::uint32_t* premultipliedArgb, int width, int height,
                            int strideBytes) {
    runUiOperation(*this, [&] {
        if (window_ == nullptr || premultipliedArgb == nullptr || width <= 0 || height <= 0) {
            return;
        }
        // A frame composed in our own pixels is shown as it is; any other is copied in.
        const bool own = premultipliedArgb == pixels_ && width == frameWidth_ &&
                         height == frameHeight_ && strideBytes == width * 4;
        if (!own) {
            if (premultipliedArgb == pixels_ || !ensureFrame(width, height)) {
                return;  // our own memory at another size: nothing sound to show
            }
            cairo_surface_flush(surface_.get());
            const std::size_t rowPixels = static_cast<std::size_t>(width);
            const auto* source = reinterpret_cast<const unsigned char*>(premultipliedArgb);
            for (int row = 0; row < height; ++row) {
                std::memcpy(pixels_ + static_cast<std::size_t>(row) * rowPixels,
                            source + static_cast<std::ptrdiff_t>(row) * strideBytes,
                            rowPixels * sizeof(std::uint32_t));
            }
        }
        if (width != width_ || height != height_) {
            width_ = width;
            height_ = height;
            shaped_ = false;
            gtk_widget_set_size_request(window_.get(), width, height);
            gtk_window_resize(GTK_WINDOW(window_.get()), width, height);
        }
        cairo_surface_mark_dirty(surface_.get());
        if (!shaped_) {
            applyShape();
        }
        gtk_widget_queue_draw(window_.get());
    });
}

void GtkWindowHost::applyShape() {
    if (window_ == nullptr || pixels_ == nullptr || frameWidth_ != width_ ||
        frameHeight_ != height_) {
        return;
    }
    const int stride = width_ * 4;
    std::vector<ShapeRect> input = alphaShape(pixels_, width_, height_, stride, 1);
    if (!shaped_ || input != inputShape_) {
        gtk_widget_input_shape_combine_region(window_.get(), regionOf(input).get());
        inputShape_ = std::move(input);
    }
    if (gdk_screen_is_composited(gtk_widget_get_screen(window_.get()))) {
        if (!outputShape_.empty() || !shaped_) {
            gtk_widget_shape_combine_region(window_.get(), nullptr);
            outputShape_.clear();
        }
    } else {
        std::vector<ShapeRect> output = alphaShape(pixels_, width_, height_, stride, kVisibleAlpha);
        if (!shaped_ || output != outputShape_) {
            gtk_widget_shape_combine_region(window_.get(), regionOf(output).get());
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
        cairo_set_source_surface(cr, host->surface_.get(), 0, 0);
    } else {
        cairo_set_source_rgba(cr, 0, 0, 0, 0);
    }
    cairo_paint(cr);
    return TRUE;
}

void GtkWindowHost::showErrorBox(const std::string& text) {
    if (endedBySignal()) {
        g_printerr("%s: %s\n", kErrorBoxCaption, text.c_str());  // nobody is left to answer it
        return;
    }
    runUiOperation(*this, [&] {
        runGtkErrorBox(window_ != nullptr ? GTK_WINDOW(window_.get()) : nullptr, text);
    });
}

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

void GtkWindowHost::setTitle(const std::string& title) {
    title_ = title;
    if (window_ != nullptr) {
        gtk_window_set_title(GTK_WINDOW(window_.get()), title_.c_str());
    }
}

}  // namespace quelt

// The GTK host's input: pointer buttons and motion, cursor, capture, the caption drag and the
// keys that never act on the window.
#include <cmath>

#include "platform/window/gtk/gtk_window_host.h"

namespace quelt {

namespace {

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

}  // namespace

void GtkWindowHost::connectInput() {
    GtkWidget* widget = window_.get();
    gtk_widget_add_events(widget, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK |
                                      GDK_POINTER_MOTION_MASK | GDK_KEY_PRESS_MASK);
    g_signal_connect(widget, "button-press-event", G_CALLBACK(onButtonPress), this);
    g_signal_connect(widget, "button-release-event", G_CALLBACK(onButtonRelease), this);
    g_signal_connect(widget, "motion-notify-event", G_CALLBACK(onMotion), this);
    g_signal_connect(widget, "key-press-event", G_CALLBACK(onKeyPress), this);
}

void GtkWindowHost::loadCursors() {
    GdkDisplay* display = gtk_widget_get_display(window_.get());
    arrow_.reset(gdk_cursor_new_from_name(display, "default"));
    hand_.reset(gdk_cursor_new_from_name(display, "pointer"));
    setCursor(cursor_);
}

void GtkWindowHost::setCapture() {
    runUiOperation(*this, [this] {
        if (window_ == nullptr || grabbedSeat_ != nullptr) {
            return;
        }
        GdkWindow* gdkWindow = gtk_widget_get_window(window_.get());
        GdkSeat* seat = gdk_display_get_default_seat(gtk_widget_get_display(window_.get()));
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
        if (GdkWindow* gdkWindow = gtk_widget_get_window(window_.get())) {
            gdk_window_set_cursor(gdkWindow,
                                  shape == CursorShape::Hand ? hand_.get() : arrow_.get());
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
        gtk_window_begin_move_drag(GTK_WINDOW(window_.get()), lastPressButton_, origin.x + x,
                                   origin.y + y, lastPressTime_);
    });
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

}  // namespace quelt

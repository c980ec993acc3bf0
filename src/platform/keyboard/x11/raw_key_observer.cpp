// System-wide keys on X11: raw key events of the XInput2 extension, selected on the root window
// of a connection of our own. Raw events go to every client that selects them and take nothing
// away from the focused window. The connection is read by a GLib source on the installing
// thread's main context, so the callback runs on the UI thread while GTK handles its events.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <glib.h>

#include <memory>
#include <utility>

#include "base/unique_with.h"
#include "platform/keyboard/session_key_observer.h"
#include "platform/keyboard/x11/raw_key_observer.h"
#include "platform/keyboard/x11/system_key_state.h"
#include "platform/keyboard/x11/virtual_keys.h"

namespace quelt {

namespace {

using UniqueDisplay = UniqueWith<Display, &XCloseDisplay>;

// One X connection selecting raw key events, and the GLib source that reads it.
class RawKeySession : public std::enable_shared_from_this<RawKeySession> {
  public:
    RawKeySession(UniqueDisplay display, int xiOpcode, std::shared_ptr<const KeyCallback> callback)
        : display_(std::move(display)), xiOpcode_(xiOpcode), callback_(std::move(callback)) {}
    ~RawKeySession() { detach(); }  // then the connection closes
    RawKeySession(const RawKeySession&) = delete;
    RawKeySession& operator=(const RawKeySession&) = delete;

    void attach();
    // Stops reading: no event is delivered after this, even from the dispatch under way.
    void detach();
    void setCallback(std::shared_ptr<const KeyCallback> callback) {
        callback_ = std::move(callback);
    }
    void dispatchPending();
    bool hasQueuedEvents() const { return XEventsQueued(display_.get(), QueuedAlready) > 0; }

  private:
    struct Source {
        GSource base;
        GPollFD poll;
        RawKeySession* session;
    };
    static gboolean prepare(GSource* source, gint* timeout);
    static gboolean check(GSource* source);
    static gboolean dispatch(GSource* source, GSourceFunc, gpointer);
    static GSourceFuncs sourceFuncs;

    void deliver(unsigned keycode, bool down);

    UniqueDisplay display_;
    int xiOpcode_;
    std::shared_ptr<const KeyCallback> callback_;
    x11::SystemKeyState systemKeys_;
    Source* source_ = nullptr;
};

GSourceFuncs RawKeySession::sourceFuncs = {&RawKeySession::prepare,
                                           &RawKeySession::check,
                                           &RawKeySession::dispatch,
                                           nullptr,
                                           nullptr,
                                           nullptr};

gboolean RawKeySession::prepare(GSource* source, gint* timeout) {
    *timeout = -1;
    return reinterpret_cast<Source*>(source)->session->hasQueuedEvents();
}

gboolean RawKeySession::check(GSource* source) {
    Source* own = reinterpret_cast<Source*>(source);
    // A lost connection is dispatched too (rather than polled again and again): Xlib's I/O
    // error handling takes it from there, as it does for the window's own connection.
    return (own->poll.revents & (G_IO_IN | G_IO_HUP | G_IO_ERR)) != 0 ||
           own->session->hasQueuedEvents();
}

gboolean RawKeySession::dispatch(GSource* source, GSourceFunc, gpointer) {
    // The callback may remove or replace the observer; this keeps the session alive meanwhile.
    std::shared_ptr<RawKeySession> session =
        reinterpret_cast<Source*>(source)->session->shared_from_this();
    session->dispatchPending();
    return G_SOURCE_CONTINUE;
}

void RawKeySession::attach() {
    source_ = reinterpret_cast<Source*>(g_source_new(&sourceFuncs, sizeof(Source)));
    source_->session = this;
    source_->poll.fd = ConnectionNumber(display_.get());
    source_->poll.events = G_IO_IN | G_IO_HUP | G_IO_ERR;
    source_->poll.revents = 0;
    g_source_add_poll(&source_->base, &source_->poll);
    GMainContext* context = g_main_context_ref_thread_default();
    g_source_attach(&source_->base, context);
    g_main_context_unref(context);
}

void RawKeySession::detach() {
    if (source_ != nullptr) {
        g_source_destroy(&source_->base);
        g_source_unref(&source_->base);
        source_ = nullptr;
    }
}

void RawKeySession::dispatchPending() {
    while (source_ != nullptr && XPending(display_.get()) > 0) {
        XEvent event;
        XNextEvent(display_.get(), &event);
        if (event.type == MappingNotify) {
            XRefreshKeyboardMapping(&event.xmapping);
            continue;
        }
        XGenericEventCookie* cookie = &event.xcookie;
        if (cookie->type != GenericEvent || cookie->extension != xiOpcode_ ||
            !XGetEventData(display_.get(), cookie)) {
            continue;
        }
        const int type = cookie->evtype;
        const unsigned keycode =
            static_cast<unsigned>(static_cast<const XIRawEvent*>(cookie->data)->detail);
        XFreeEventData(display_.get(), cookie);
        if (type == XI_RawKeyPress || type == XI_RawKeyRelease) {
            deliver(keycode, type == XI_RawKeyPress);
        }
    }
}

void RawKeySession::deliver(unsigned keycode, bool down) {
    const auto code = static_cast<KeyCode>(keycode);
    const auto level0 = static_cast<std::uint32_t>(XkbKeycodeToKeysym(display_.get(), code, 0, 0));
    const auto level1 = static_cast<std::uint32_t>(XkbKeycodeToKeysym(display_.get(), code, 0, 1));
    const std::uint32_t virtualKey = x11::virtualKeyFor(keycode, level0, level1);
    const std::uint32_t message = systemKeys_.messageFor(virtualKey, down);
    std::shared_ptr<const KeyCallback> callback = callback_;
    if (callback && *callback) {
        (*callback)(message, virtualKey);
    }
}

// Opens a connection that selects raw key presses and releases of every master keyboard on
// the root window (XInput 2.1 and later also deliver them while another client grabs the
// keyboard). Null without a display or without XInput 2.
UniqueDisplay openRawKeyConnection(int* xiOpcode) {
    UniqueDisplay owned(XOpenDisplay(nullptr));
    Display* display = owned.get();
    if (display == nullptr) {
        return nullptr;
    }
    int event = 0;
    int error = 0;
    int major = 2;
    int minor = 2;
    if (!XQueryExtension(display, "XInputExtension", xiOpcode, &event, &error) ||
        XIQueryVersion(display, &major, &minor) != Success || major < 2) {
        return nullptr;
    }
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyPress);
    XISetMask(bits, XI_RawKeyRelease);
    XIEventMask mask;
    mask.deviceid = XIAllMasterDevices;
    mask.mask_len = sizeof(bits);
    mask.mask = bits;
    XISelectEvents(display, DefaultRootWindow(display), &mask, 1);
    XSync(display, False);
    return owned;
}

class RawKeyObserver final : public SessionKeyObserver<RawKeySession> {
  private:
    std::shared_ptr<RawKeySession> open(std::shared_ptr<const KeyCallback> callback) override {
        int xiOpcode = 0;
        UniqueDisplay display = openRawKeyConnection(&xiOpcode);
        if (display == nullptr) {
            return nullptr;
        }
        auto session =
            std::make_shared<RawKeySession>(std::move(display), xiOpcode, std::move(callback));
        session->attach();
        return session;
    }
};

}  // namespace

std::unique_ptr<KeyboardObserver> makeRawKeyObserver() {
    return std::make_unique<RawKeyObserver>();
}

std::string xwaylandShortcutNotice() {
    return "quelt-panel: Wayland session: system-wide shortcuts reach the panel only while one "
           "of its windows has the focus (XInput2 under XWayland)";
}

}  // namespace quelt

// Global shortcuts of the desktop portal: CreateSession, then BindShortcuts with the panel's
// shortcuts, each answered by a Response signal; then Activated and Deactivated signals name the
// shortcut pressed and released. Everything runs on a session-bus connection of the observer's
// own, so closing it also ends the session should the Close not arrive.
#include "platform/keyboard/portal/portal_key_observer.h"

#include <gio/gio.h>

#include <memory>
#include <utility>

#include "platform/keyboard/portal/portal_request.h"
#include "platform/keyboard/portal/portal_shortcuts.h"
#include "platform/keyboard/session_key_observer.h"

namespace quelt {

namespace {

using portal::kPortalName;
using portal::kPortalPath;
using portal::kShortcutsInterface;

constexpr int kCreateMs = 5000;
constexpr int kBindMs = 30000;  // the desktop may ask the user to confirm the shortcuts

class PortalSession : public std::enable_shared_from_this<PortalSession> {
  public:
    PortalSession(portal::Bus bus, std::shared_ptr<const KeyCallback> callback)
        : bus_(std::move(bus)), callback_(std::move(callback)) {}
    ~PortalSession();
    PortalSession(const PortalSession&) = delete;
    PortalSession& operator=(const PortalSession&) = delete;

    // Creates the session and binds the shortcuts; false when the portal does not.
    bool open();
    void setCallback(std::shared_ptr<const KeyCallback> callback) {
        callback_ = std::move(callback);
    }
    // Stops delivering: no event reaches the callback after this.
    void detach();

  private:
    bool create();
    bool bind();
    static void onSignal(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                         const gchar* member, GVariant* parameters, gpointer data);
    void deliver(const gchar* member, GVariant* parameters);

    portal::Bus bus_;
    std::shared_ptr<const KeyCallback> callback_;
    std::string handle_;  // the session's object path
    guint subscription_ = 0;
};

PortalSession::~PortalSession() {
    detach();
    if (!handle_.empty()) {
        // No reply is asked for; the flush below sends it before the connection closes.
        g_dbus_connection_call(bus_.get(), kPortalName, handle_.c_str(), portal::kSessionInterface,
                               "Close", nullptr, nullptr, G_DBUS_CALL_FLAGS_NONE, -1, nullptr,
                               nullptr, nullptr);
    }
    g_dbus_connection_flush_sync(bus_.get(), nullptr, nullptr);
    g_dbus_connection_close_sync(bus_.get(), nullptr, nullptr);
}

bool PortalSession::open() {
    if (!create()) {
        return false;
    }
    // Subscribed on the installing thread's context, so the keys arrive on that thread.
    subscription_ = g_dbus_connection_signal_subscribe(
        bus_.get(), kPortalName, kShortcutsInterface, nullptr, kPortalPath, nullptr,
        G_DBUS_SIGNAL_FLAGS_NONE, &PortalSession::onSignal, this, nullptr);
    return bind();
}

bool PortalSession::create() {
    const std::string token = portal::newToken();
    const std::string sessionToken = portal::newToken();
    GVariantBuilder options;
    g_variant_builder_init(&options, G_VARIANT_TYPE_VARDICT);
    g_variant_builder_add(&options, "{sv}", "handle_token", g_variant_new_string(token.c_str()));
    g_variant_builder_add(&options, "{sv}", "session_handle_token",
                          g_variant_new_string(sessionToken.c_str()));
    const portal::Variant results = portal::requestAndWait(
        bus_.get(), "CreateSession", g_variant_new("(@a{sv})", g_variant_builder_end(&options)),
        token, kCreateMs);
    if (!results) {
        return false;
    }
    // A string by the interface's definition; some portals send an object path.
    const portal::Variant handle(g_variant_lookup_value(results.get(), "session_handle", nullptr));
    if (!handle || !(g_variant_is_of_type(handle.get(), G_VARIANT_TYPE_STRING) ||
                     g_variant_is_of_type(handle.get(), G_VARIANT_TYPE_OBJECT_PATH))) {
        return false;
    }
    const gchar* path = g_variant_get_string(handle.get(), nullptr);
    if (!g_variant_is_object_path(path)) {
        return false;
    }
    handle_ = path;
    return true;
}

bool PortalSession::bind() {
    GVariantBuilder shortcuts;
    g_variant_builder_init(&shortcuts, G_VARIANT_TYPE("a(sa{sv})"));
    for (const portal::PortalShortcut& shortcut : portal::panelShortcuts()) {
        GVariantBuilder properties;
        g_variant_builder_init(&properties, G_VARIANT_TYPE_VARDICT);
        g_variant_builder_add(&properties, "{sv}", "description",
                              g_variant_new_string(shortcut.description));
        g_variant_builder_add(&properties, "{sv}", "preferred_trigger",
                              g_variant_new_string(shortcut.trigger));
        g_variant_builder_add(&shortcuts, "(s@a{sv})", shortcut.id,
                              g_variant_builder_end(&properties));
    }
    const std::string token = portal::newToken();
    GVariantBuilder options;
    g_variant_builder_init(&options, G_VARIANT_TYPE_VARDICT);
    g_variant_builder_add(&options, "{sv}", "handle_token", g_variant_new_string(token.c_str()));
    // No parent window: the panel's X11 window has no Wayland handle to give.
    GVariant* parameters =
        g_variant_new("(o@a(sa{sv})s@a{sv})", handle_.c_str(), g_variant_builder_end(&shortcuts),
                      "", g_variant_builder_end(&options));
    return portal::requestAndWait(bus_.get(), "BindShortcuts", parameters, token, kBindMs) !=
           nullptr;
}

void PortalSession::detach() {
    if (subscription_ != 0) {
        // A signal already queued for the context is dropped: GLib checks the subscription.
        g_dbus_connection_signal_unsubscribe(bus_.get(), subscription_);
        subscription_ = 0;
    }
}

void PortalSession::onSignal(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                             const gchar* member, GVariant* parameters, gpointer data) {
    // The callback may remove or replace the observer; this keeps the session alive meanwhile.
    const std::shared_ptr<PortalSession> session =
        static_cast<PortalSession*>(data)->shared_from_this();
    session->deliver(member, parameters);
}

void PortalSession::deliver(const gchar* member, GVariant* parameters) {
    const bool down = g_strcmp0(member, "Activated") == 0;
    if ((!down && g_strcmp0(member, "Deactivated") != 0) ||
        !g_variant_is_of_type(parameters, G_VARIANT_TYPE("(osta{sv})"))) {
        return;
    }
    const gchar* session = nullptr;
    const gchar* id = nullptr;
    g_variant_get_child(parameters, 0, "&o", &session);
    g_variant_get_child(parameters, 1, "&s", &id);
    const std::uint32_t virtualKey = portal::virtualKeyForShortcut(id);
    if (handle_ != session || virtualKey == 0) {
        return;
    }
    std::shared_ptr<const KeyCallback> callback = callback_;
    if (callback && *callback) {
        (*callback)(down ? KeyMessage::Down : KeyMessage::Up, virtualKey);
    }
}

class PortalKeyObserver final : public SessionKeyObserver<PortalSession> {
  public:
    std::string notice() const override { return portalShortcutNotice(); }

  private:
    std::shared_ptr<PortalSession> open(std::shared_ptr<const KeyCallback> callback) override {
        portal::Bus bus = portal::connectSessionBus();
        if (!bus) {
            return nullptr;
        }
        auto session = std::make_shared<PortalSession>(std::move(bus), std::move(callback));
        if (!session->open()) {
            return nullptr;  // the session closes with it
        }
        return session;
    }
};

}  // namespace

std::unique_ptr<KeyboardObserver> makePortalKeyObserver() {
    return std::make_unique<PortalKeyObserver>();
}

std::string portalShortcutNotice() {
    return "quelt-panel: Wayland session: system-wide shortcuts come through the desktop "
           "portal's global shortcuts";
}

}  // namespace quelt

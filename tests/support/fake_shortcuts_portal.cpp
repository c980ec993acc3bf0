#include "support/fake_shortcuts_portal.h"

#include <future>

namespace quelt::test {

namespace {

constexpr char kPortalName[] = "org.freedesktop.portal.Desktop";
constexpr char kPortalPath[] = "/org/freedesktop/portal/desktop";
constexpr char kInterface[] = "org.freedesktop.portal.GlobalShortcuts";

constexpr char kIntrospection[] = R"xml(<node>
  <interface name="org.freedesktop.portal.GlobalShortcuts">
    <method name="CreateSession">
      <arg type="a{sv}" name="options" direction="in"/>
      <arg type="o" name="handle" direction="out"/>
    </method>
    <method name="BindShortcuts">
      <arg type="o" name="session_handle" direction="in"/>
      <arg type="a(sa{sv})" name="shortcuts" direction="in"/>
      <arg type="s" name="parent_window" direction="in"/>
      <arg type="a{sv}" name="options" direction="in"/>
      <arg type="o" name="request_handle" direction="out"/>
    </method>
    <signal name="Activated">
      <arg type="o" name="session_handle"/>
      <arg type="s" name="shortcut_id"/>
      <arg type="t" name="timestamp"/>
      <arg type="a{sv}" name="options"/>
    </signal>
    <signal name="Deactivated">
      <arg type="o" name="session_handle"/>
      <arg type="s" name="shortcut_id"/>
      <arg type="t" name="timestamp"/>
      <arg type="a{sv}" name="options"/>
    </signal>
    <property name="version" type="u" access="read"/>
  </interface>
</node>)xml";

// The portal's path for a request or session of `sender` with the token in `options`.
std::string handlePath(const char* kind, const gchar* sender, GVariant* options,
                       const char* tokenKey) {
    std::string name = sender + 1;  // without the ':'
    for (char& c : name) {
        c = c == '.' ? '_' : c;
    }
    const gchar* token = "t";
    g_variant_lookup(options, tokenKey, "&s", &token);
    return std::string(kPortalPath) + "/" + kind + "/" + name + "/" + token;
}

}  // namespace

PrivateSessionBus::PrivateSessionBus() : bus_(g_test_dbus_new(G_TEST_DBUS_NONE)) {
    g_test_dbus_up(bus_);
}

PrivateSessionBus::~PrivateSessionBus() {
    g_test_dbus_down(bus_);
    g_object_unref(bus_);
}

FakeShortcutsPortal::FakeShortcutsPortal(std::uint32_t bindResponse)
    : bindResponse_(bindResponse),
      context_(g_main_context_new()),
      loop_(g_main_loop_new(context_, FALSE)) {
    std::promise<void> started;
    thread_ = std::thread([this, &started] {
        g_main_context_push_thread_default(context_);
        serve();
        started.set_value();
        g_main_loop_run(loop_);
        if (bus_ != nullptr) {
            g_dbus_connection_close_sync(bus_, nullptr, nullptr);
            g_object_unref(bus_);
        }
        g_main_context_pop_thread_default(context_);
    });
    started.get_future().wait();
}

FakeShortcutsPortal::~FakeShortcutsPortal() {
    g_main_context_invoke(
        context_,
        [](gpointer loop) {
            g_main_loop_quit(static_cast<GMainLoop*>(loop));
            return G_SOURCE_REMOVE;
        },
        loop_);
    thread_.join();
    g_main_loop_unref(loop_);
    g_main_context_unref(context_);
}

void FakeShortcutsPortal::serve() {
    gchar* address = g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    bus_ =
        address == nullptr
            ? nullptr
            : g_dbus_connection_new_for_address_sync(
                  address,
                  static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                                    G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
                  nullptr, nullptr, nullptr);
    g_free(address);
    if (bus_ == nullptr) {
        return;
    }
    GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(kIntrospection, nullptr);
    static const GDBusInterfaceVTable vtable = {
        &FakeShortcutsPortal::onMethod, nullptr, nullptr, {}};
    const guint object = g_dbus_connection_register_object(bus_, kPortalPath, node->interfaces[0],
                                                           &vtable, this, nullptr, nullptr);
    g_dbus_node_info_unref(node);
    GVariant* owned = g_dbus_connection_call_sync(
        bus_, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
        "RequestName", g_variant_new("(su)", kPortalName, 4u /* do not queue */),
        G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, nullptr);
    guint32 result = 0;
    if (owned != nullptr) {
        g_variant_get(owned, "(u)", &result);
        g_variant_unref(owned);
    }
    serving_ = object != 0 && result == 1;  // the primary owner
}

void FakeShortcutsPortal::onMethod(GDBusConnection*, const gchar* sender, const gchar*,
                                   const gchar*, const gchar* method, GVariant* parameters,
                                   GDBusMethodInvocation* invocation, gpointer data) {
    static_cast<FakeShortcutsPortal*>(data)->answer(sender, method, parameters, invocation);
}

void FakeShortcutsPortal::answer(const gchar* sender, const gchar* method, GVariant* parameters,
                                 GDBusMethodInvocation* invocation) {
    const bool create = g_strcmp0(method, "CreateSession") == 0;
    GVariant* options = g_variant_get_child_value(parameters, create ? 0 : 3);
    const std::string request = handlePath("request", sender, options, "handle_token");
    std::uint32_t response = bindResponse_;
    GVariantBuilder results;
    g_variant_builder_init(&results, G_VARIANT_TYPE_VARDICT);
    if (create) {
        const std::string session = handlePath("session", sender, options, "session_handle_token");
        g_variant_builder_add(&results, "{sv}", "session_handle",
                              g_variant_new_string(session.c_str()));
        std::lock_guard lock(mutex_);
        session_ = session;
        response = 0;
    } else {
        GVariantIter* shortcuts = nullptr;
        const gchar* id = nullptr;
        GVariant* properties = nullptr;
        g_variant_get_child(parameters, 1, "a(sa{sv})", &shortcuts);
        std::lock_guard lock(mutex_);
        while (g_variant_iter_loop(shortcuts, "(&s@a{sv})", &id, &properties)) {
            const gchar* trigger = "";
            g_variant_lookup(properties, "preferred_trigger", "&s", &trigger);
            bound_.push_back({id, trigger});
        }
        g_variant_iter_free(shortcuts);
    }
    g_variant_unref(options);
    g_dbus_method_invocation_return_value(invocation, g_variant_new("(o)", request.c_str()));
    g_dbus_connection_emit_signal(
        bus_, sender, request.c_str(), "org.freedesktop.portal.Request", "Response",
        g_variant_new("(u@a{sv})", response, g_variant_builder_end(&results)), nullptr);
}

std::vector<FakeShortcutsPortal::Shortcut> FakeShortcutsPortal::bound() const {
    std::lock_guard lock(mutex_);
    return bound_;
}

void FakeShortcutsPortal::emit(const char* signal, const std::string& id) {
    std::string session;
    {
        std::lock_guard lock(mutex_);
        session = session_;
    }
    g_dbus_connection_emit_signal(
        bus_, nullptr, kPortalPath, kInterface, signal,
        g_variant_new("(ost@a{sv})", session.c_str(), id.c_str(), guint64{0},
                      g_variant_new_array(G_VARIANT_TYPE("{sv}"), nullptr, 0)),
        nullptr);
}

}  // namespace quelt::test

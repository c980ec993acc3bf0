#include "platform/keyboard/portal/portal_request.h"

#include <atomic>

namespace quelt::portal {

namespace {

constexpr char kRequestInterface[] = "org.freedesktop.portal.Request";

struct ResponseWait {
    bool answered = false;
    bool timedOut = false;
    guint32 code = 2;  // "other error" until the portal says otherwise
    GVariant* results = nullptr;
};

void onResponse(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
                GVariant* parameters, gpointer data) {
    auto* wait = static_cast<ResponseWait*>(data);
    if (wait->answered || !g_variant_is_of_type(parameters, G_VARIANT_TYPE("(ua{sv})"))) {
        return;
    }
    g_variant_get(parameters, "(u@a{sv})", &wait->code, &wait->results);
    wait->answered = true;
}

gboolean onTimeout(gpointer data) {
    static_cast<ResponseWait*>(data)->timedOut = true;
    return G_SOURCE_REMOVE;
}

// Runs `context` until the response has come or `timeoutMs` has passed.
void awaitResponse(GMainContext* context, ResponseWait* wait, int timeoutMs) {
    GSource* timer = g_timeout_source_new(static_cast<guint>(timeoutMs));
    g_source_set_callback(timer, &onTimeout, wait, nullptr);
    g_source_attach(timer, context);
    while (!wait->answered && !wait->timedOut) {
        g_main_context_iteration(context, TRUE);
    }
    g_source_destroy(timer);
    g_source_unref(timer);
}

}  // namespace

Bus connectSessionBus() {
    gchar* address = g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (address == nullptr) {
        return nullptr;
    }
    GDBusConnection* bus = g_dbus_connection_new_for_address_sync(
        address,
        static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                          G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, nullptr, nullptr);
    g_free(address);
    return Bus(bus);
}

std::string newToken() {
    static std::atomic<unsigned> next{0};
    return "quelt" + std::to_string(++next);
}

std::string handlePath(GDBusConnection* bus, const char* kind, const std::string& token) {
    // The caller's unique name without its ':' and with '_' for '.': ":1.42" gives "1_42".
    std::string sender = g_dbus_connection_get_unique_name(bus);
    if (!sender.empty() && sender[0] == ':') {
        sender.erase(0, 1);
    }
    for (char& c : sender) {
        if (c == '.') {
            c = '_';
        }
    }
    return std::string(kPortalPath) + "/" + kind + "/" + sender + "/" + token;
}

Variant requestAndWait(GDBusConnection* bus, const char* method, GVariant* parameters,
                       const std::string& token, int timeoutMs) {
    GMainContext* context = g_main_context_new();
    g_main_context_push_thread_default(context);
    ResponseWait wait;
    // Subscribed before the call, so that a quick answer is not missed.
    const std::string path = handlePath(bus, "request", token);
    const guint subscription = g_dbus_connection_signal_subscribe(
        bus, kPortalName, kRequestInterface, "Response", path.c_str(), nullptr,
        G_DBUS_SIGNAL_FLAGS_NONE, &onResponse, &wait, nullptr);
    GVariant* reply = g_dbus_connection_call_sync(
        bus, kPortalName, kPortalPath, kShortcutsInterface, method, parameters,
        G_VARIANT_TYPE("(o)"), G_DBUS_CALL_FLAGS_NONE, timeoutMs, nullptr, nullptr);
    if (reply != nullptr) {
        const gchar* handle = nullptr;
        g_variant_get(reply, "(&o)", &handle);
        // A portal that put the request elsewhere answers where nobody listens.
        if (path == handle) {
            awaitResponse(context, &wait, timeoutMs);
        }
        g_variant_unref(reply);
    }
    g_dbus_connection_signal_unsubscribe(bus, subscription);
    while (g_main_context_iteration(context, FALSE)) {
    }
    g_main_context_pop_thread_default(context);
    g_main_context_unref(context);
    Variant results(wait.results);
    if (!wait.answered || wait.code != 0) {
        return nullptr;
    }
    return results;
}

}  // namespace quelt::portal

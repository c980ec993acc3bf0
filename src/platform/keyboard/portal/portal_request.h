#pragma once
// Requests to the desktop portal on the session bus: a method call whose answer comes later as
// the Response signal of a Request object, waited for here up to a deadline.
#include <gio/gio.h>

#include <memory>
#include <string>

namespace quelt::portal {

inline constexpr char kPortalName[] = "org.freedesktop.portal.Desktop";
inline constexpr char kPortalPath[] = "/org/freedesktop/portal/desktop";
inline constexpr char kShortcutsInterface[] = "org.freedesktop.portal.GlobalShortcuts";
inline constexpr char kSessionInterface[] = "org.freedesktop.portal.Session";

struct VariantUnref {
    void operator()(GVariant* value) const { g_variant_unref(value); }
};
using Variant = std::unique_ptr<GVariant, VariantUnref>;

struct ObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
using Bus = std::unique_ptr<GDBusConnection, ObjectUnref>;

// A connection of our own to the session bus; null when there is none.
Bus connectSessionBus();

// A handle token (request or session), unique in this process.
std::string newToken();

// The object path the portal gives the request or session (`kind` "request" or "session") that
// this connection asked for with `token`.
std::string handlePath(GDBusConnection* bus, const char* kind, const std::string& token);

// Calls `method` of the global shortcuts interface with `parameters` (floating, consumed), whose
// options carry `token` as their handle_token, and waits up to `timeoutMs` for the request's
// Response. Returns its results (a{sv}) when it answers 0 (success); null when the call fails
// (no portal, no such interface), the request is cancelled or refused, or no answer comes in
// time. Only a main context of its own runs meanwhile: nothing of the caller's is dispatched.
Variant requestAndWait(GDBusConnection* bus, const char* method, GVariant* parameters,
                       const std::string& token, int timeoutMs);

}  // namespace quelt::portal

#pragma once
// A private session bus for a test, and a desktop portal on it that offers global shortcuts:
// it answers CreateSession and BindShortcuts with their Response signals, records the
// shortcuts bound and emits Activated and Deactivated when told.
#include <gio/gio.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace quelt::test {

// A dbus-daemon of the test's own, named by DBUS_SESSION_BUS_ADDRESS while it lives.
class PrivateSessionBus {
  public:
    PrivateSessionBus();
    ~PrivateSessionBus();
    PrivateSessionBus(const PrivateSessionBus&) = delete;
    PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

  private:
    GTestDBus* bus_;
};

class FakeShortcutsPortal {
  public:
    struct Shortcut {
        std::string id;
        std::string trigger;  // preferred_trigger
        bool operator==(const Shortcut&) const = default;
    };

    // Serves on a thread of its own; `bindResponse` is what BindShortcuts answers (0 success,
    // 1 cancelled by the user).
    explicit FakeShortcutsPortal(std::uint32_t bindResponse = 0);
    ~FakeShortcutsPortal();
    FakeShortcutsPortal(const FakeShortcutsPortal&) = delete;
    FakeShortcutsPortal& operator=(const FakeShortcutsPortal&) = delete;

    bool serving() const { return serving_; }
    std::vector<Shortcut> bound() const;
    // Emits `signal` ("Activated" or "Deactivated") for `id` in the last session made.
    void emit(const char* signal, const std::string& id);

  private:
    void serve();
    static void onMethod(GDBusConnection*, const gchar* sender, const gchar*, const gchar*,
                         const gchar* method, GVariant* parameters,
                         GDBusMethodInvocation* invocation, gpointer data);
    void answer(const gchar* sender, const gchar* method, GVariant* parameters,
                GDBusMethodInvocation* invocation);

    const std::uint32_t bindResponse_;
    GMainContext* context_;
    GMainLoop* loop_;
    GDBusConnection* bus_ = nullptr;
    bool serving_ = false;
    mutable std::mutex mutex_;
    std::vector<Shortcut> bound_;
    std::string session_;
    std::thread thread_;
};

}  // namespace quelt::test

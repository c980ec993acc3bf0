#pragma once
// Observer of system-wide key presses and releases, whichever program has the keyboard focus.
// It never swallows a key: the focused program still receives every key.
//
// Every key event arrives as (message identifier, Windows virtual-key code): 0x100 key down,
// 0x101 key up, 0x104 key down while Alt is held (system key), 0x105 its release. Windows: a
// low-level keyboard hook (auto-repeat arrives as further key-downs). X11: raw key events of the
// XInput2 extension on a connection of the observer's own (one event per press, no auto-repeat).
// Wayland session: the shortcut keys alone, bound through the desktop portal's global shortcuts
// where the desktop offers them (there the desktop takes those keys for the panel), else the
// X11 observer under XWayland.
//
// Threads: install, reinstall and remove on the user-interface (UI) thread. The callback runs
// on that thread while it handles its messages (Win32 message loop, or the GLib main context
// that the GTK window host iterates), one event at a time, in the order the keys were pressed.
// The callback may call install, reinstall or remove itself.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace quelt {

// The message identifiers the observer reports.
struct KeyMessage {
    static constexpr std::uint32_t Down = 0x100;
    static constexpr std::uint32_t Up = 0x101;
    static constexpr std::uint32_t SystemDown = 0x104;
    static constexpr std::uint32_t SystemUp = 0x105;
};

// What the observer does with the event after the callback: hand it on to the other observers
// of the system (Windows: the next hook) or stop there. Either way the key reaches the focused
// program. An event that comes without its key record (Windows: a null event pointer) never
// reaches the callback and is not handed on: the observer answers it with 0 at once.
enum class KeyPassing { PassOn, ReturnZero };

using KeyCallback = std::function<KeyPassing(std::uint32_t message, std::uint32_t virtualKey)>;

class KeyboardObserver {
  public:
    virtual ~KeyboardObserver() = default;
    // Starts delivering key events to `callback`. Installing again while installed replaces the
    // previous installation (and its callback); it never adds a second one. One observer per
    // process may be installed at a time: false while another one is installed. Also false when
    // the platform cannot observe keys (for example, no X display); nothing is installed then.
    virtual bool install(KeyCallback callback) = 0;
    // Installs again with the current callback, replacing the previous installation (Windows:
    // puts the hook back at the head of the chain). False when not installed or it failed; on
    // failure the previous installation stays in place.
    virtual bool reinstall() = 0;
    // Stops delivering; no event reaches the callback afterwards. Also done by the destructor.
    virtual void remove() = 0;
    virtual bool isInstalled() const = 0;
    // One line for the user on how keys reach the installed observer, when they should know
    // (in a Wayland session); empty otherwise.
    virtual std::string notice() const { return {}; }
};

// The platform's observer: a low-level keyboard hook on Windows, XInput2 raw key events on X11,
// in a Wayland session (WAYLAND_DISPLAY set) the desktop portal first where the build has it.
std::unique_ptr<KeyboardObserver> makeKeyboardObserver();

}  // namespace quelt

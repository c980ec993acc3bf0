#pragma once
// The shortcut keys through the desktop portal's global shortcuts (Wayland desktops).
#include <memory>
#include <string>

#include "platform/keyboard/keyboard_observer.h"

namespace quelt {

// install binds Esc, 1-6, F1-F6 and F12 in a global-shortcuts session of its own on the session
// bus. It waits for the portal (the desktop may ask the user first) and returns false when the
// bus, the portal or its global shortcuts are missing, or the bind is refused or not answered.
// Each shortcut's Activated arrives as its key's key-down (0x100), Deactivated as its key-up
// (0x101), on the installing thread's main context. Only those keys are seen, and the desktop
// takes them from the focused program. remove closes the session, which gives the keys back.
std::unique_ptr<KeyboardObserver> makePortalKeyObserver();

// The line for a Wayland session where the keys come through the portal.
std::string portalShortcutNotice();

}  // namespace quelt

#pragma once
// The X11 key observer (XInput2 raw key events), and what it can see under XWayland.
#include <memory>
#include <string>

#include "platform/keyboard/keyboard_observer.h"

namespace quelt {

std::unique_ptr<KeyboardObserver> makeRawKeyObserver();

// The line for a Wayland session where the keys come through XWayland: X11 clients see keys
// only while one of their windows has the focus.
std::string xwaylandShortcutNotice();

}  // namespace quelt

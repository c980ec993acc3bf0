// Linux: in a Wayland session the desktop portal's global shortcuts where the desktop offers
// them (they see the keys whichever window has the focus), else XInput2 under XWayland; in an
// X11 session XInput2.
#include <cstdlib>

#include "platform/keyboard/portal/portal_key_observer.h"
#include "platform/keyboard/preferred_key_observer.h"
#include "platform/keyboard/x11/raw_key_observer.h"

namespace quelt {

std::unique_ptr<KeyboardObserver> makeKeyboardObserver() {
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (wayland == nullptr || wayland[0] == '\0') {
        return makeRawKeyObserver();
    }
    return std::make_unique<PreferredKeyObserver>(makePortalKeyObserver(), makeRawKeyObserver(),
                                                  xwaylandShortcutNotice());
}

}  // namespace quelt

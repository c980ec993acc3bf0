// X11 without a Wayland desktop portal in the build: the raw key observer.
#include "platform/keyboard/x11/raw_key_observer.h"

namespace quelt {

std::unique_ptr<KeyboardObserver> makeKeyboardObserver() {
    return makeRawKeyObserver();
}

}  // namespace quelt

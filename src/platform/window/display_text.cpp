// The texts of the display check, shared by every backend.
#include "platform/window/display.h"

namespace quelt {

namespace {

bool isSet(const char* value) {
    return value != nullptr && value[0] != '\0';
}

}  // namespace

std::string missingXDisplayText(const char* display, const char* waylandDisplay) {
    const bool wayland = isSet(waylandDisplay);
    if (!isSet(display)) {
        return wayland ? "quelt-panel: no XWayland in this Wayland session (DISPLAY is not set); "
                         "the panel needs XWayland"
                       : "quelt-panel: no X server (DISPLAY is not set); the panel needs an X "
                         "display";
    }
    return std::string("quelt-panel: cannot reach ") + (wayland ? "XWayland" : "the X server") +
           " at DISPLAY=" + display;
}

}  // namespace quelt

// GTK's display: the X11 backend only, opened here so that a missing X server or XWayland is
// told in one line before any window (GTK's Wayland backend lacks what the X11 parts need).
#include <gtk/gtk.h>

#include <cstdlib>

#include "platform/window/display.h"

namespace quelt {

DisplayStart prepareDisplay() {
    gdk_set_allowed_backends("x11");
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    DisplayStart start;
    // Without DISPLAY there is nothing to try (and nothing for GTK to complain about).
    if (display == nullptr || display[0] == '\0' || !gtk_init_check(nullptr, nullptr)) {
        start.ready = false;
        start.problem = missingXDisplayText(display, wayland);
        return start;
    }
    return start;
}

}  // namespace quelt

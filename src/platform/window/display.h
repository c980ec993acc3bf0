#pragma once
// The windowing system the panel runs on, made ready before the first window: the Linux build
// chooses GTK's X11 backend (under a Wayland session it runs through XWayland, where its
// placement and shapes work) and checks that an X display can be reached; Windows always has its
// desktop. What the key observer sees in a Wayland session is its own notice.
#include <string>

namespace quelt {

struct DisplayStart {
    bool ready = true;    // windows can be made
    std::string problem;  // one line naming what is missing (when not ready)
};

// Call once, before any window and before any other windowing call.
DisplayStart prepareDisplay();

// The line for an X display that cannot be reached. `display` and `waylandDisplay` are the
// values of DISPLAY and WAYLAND_DISPLAY (null or empty: not set).
std::string missingXDisplayText(const char* display, const char* waylandDisplay);

}  // namespace quelt

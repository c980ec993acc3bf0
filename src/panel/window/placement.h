#pragma once
// Where the program's windows go: centred on a fixed 1600 x 1050 area at the screen's top-left
// corner (the screen itself is not measured).
#include "platform/window/window_host.h"

namespace quelt {

inline constexpr int kCentreAreaWidth = 1600;
inline constexpr int kCentreAreaHeight = 1050;

// Top-left corner that centres a client rectangle on the area; divisions truncate toward zero,
// so a window wider than the area gets a zero or negative x.
inline WindowPoint centredOrigin(const WindowRect& client) {
    const int width = client.width() < 0 ? -client.width() : client.width();
    const int height = client.height() < 0 ? -client.height() : client.height();
    return WindowPoint{(kCentreAreaWidth - width) / 2, (kCentreAreaHeight - height) / 2};
}

// Moves the window there, keeps its size, and shows it, not always on top.
inline void centreAndShow(WindowHost& host) {
    const WindowPoint origin = centredOrigin(host.clientRect());
    host.placeAndShow(origin.x, origin.y);
}

}  // namespace quelt

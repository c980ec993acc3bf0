#pragma once
// What the native window tests need from the platform beyond the window host itself.
#include <cstdint>
#include <string>

namespace quelt::testing {

struct ErrorBoxSeen {
    bool found = false;
    std::string title;
    bool owned = false;  // owned by (transient for) a window of ours
    bool modal = false;  // its owner takes no input while it is open
};

// On the UI thread: finds the open error box of this process, reports it and dismisses it.
ErrorBoxSeen dismissOpenErrorBox();

// Colour 0xRRGGBB of a screen pixel.
std::uint32_t screenPixel(int x, int y);

}  // namespace quelt::testing

#pragma once
// Control rectangles in owner client pixels: (left, top, right, bottom), right and bottom
// exclusive.
#include <cstdint>

namespace quelt {

struct SkinRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    friend bool operator==(const SkinRect&, const SkinRect&) = default;
};

// A point lies inside when left <= x < right and top <= y < bottom; an inverted rectangle holds
// no point.
inline bool PtInRect(const SkinRect& rect, int x, int y) {
    return rect.left <= x && x < rect.right && rect.top <= y && y < rect.bottom;
}

}  // namespace quelt

#pragma once
// The region of a premultiplied ARGB canvas whose alpha reaches a threshold, as rectangles.
// Used where the platform needs an explicit window shape: runs of each row are merged with the
// same runs of the rows below, so a mostly rectangular canvas gives few rectangles.
#include <cstdint>
#include <vector>

namespace quelt {

struct ShapeRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const ShapeRect&) const = default;
};

// Pixels with alpha >= `minimumAlpha` (1..255) are inside.
std::vector<ShapeRect> alphaShape(const std::uint32_t* premultipliedArgb, int width, int height,
                                  int strideBytes, std::uint8_t minimumAlpha);

}  // namespace quelt

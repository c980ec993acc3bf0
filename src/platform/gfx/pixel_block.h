#pragma once
// The block of whole image pixels an image draw reads. Both drawing backends copy this block out
// of the image (unless it is the whole image) so that scaling never samples its neighbours.
#include <algorithm>
#include <cmath>

#include "platform/gfx/gfx.h"

namespace quelt::gfx {

// Pixels [x0, x1) x [y0, y1) of the image.
struct PixelBlock {
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;

    bool operator==(const PixelBlock&) const = default;
    bool empty() const { return x1 <= x0 || y1 <= y0; }
    bool whole(int imageWidth, int imageHeight) const {
        return x0 == 0 && y0 == 0 && x1 == imageWidth && y1 == imageHeight;
    }
};

// The pixels `source` touches, clipped to the image; empty when the draw covers nothing (an empty
// source or destination, or a source wholly outside the image).
inline PixelBlock pixelsToDraw(const RectF& source, const RectF& dest, int imageWidth,
                               int imageHeight) {
    if (!(dest.width > 0 && dest.height > 0 && source.width > 0 && source.height > 0)) {
        return {};
    }
    PixelBlock block;
    block.x0 = std::clamp(static_cast<int>(std::floor(source.x)), 0, imageWidth);
    block.y0 = std::clamp(static_cast<int>(std::floor(source.y)), 0, imageHeight);
    block.x1 = std::clamp(static_cast<int>(std::ceil(source.x + source.width)), 0, imageWidth);
    block.y1 = std::clamp(static_cast<int>(std::ceil(source.y + source.height)), 0, imageHeight);
    return block;
}

// True when `source` is exactly `block` and lands at its own size on whole destination pixels: the
// draw then samples nothing and is a plain source-over of the block's pixels.
inline bool drawnAtOwnSize(const RectF& source, const RectF& dest, const PixelBlock& block) {
    constexpr float kFar = 1 << 24;  // beyond this, floats no longer hold every whole pixel
    return source.x == static_cast<float>(block.x0) && source.y == static_cast<float>(block.y0) &&
           source.width == static_cast<float>(block.x1 - block.x0) &&
           source.height == static_cast<float>(block.y1 - block.y0) && dest.width == source.width &&
           dest.height == source.height && dest.x == std::floor(dest.x) &&
           dest.y == std::floor(dest.y) && std::abs(dest.x) < kFar && std::abs(dest.y) < kFar;
}

}  // namespace quelt::gfx

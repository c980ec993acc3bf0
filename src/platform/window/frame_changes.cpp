#include "platform/window/frame_changes.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace quelt {

namespace {

const std::uint32_t* rowOf(const std::uint32_t* argb, int y, int strideBytes) {
    return reinterpret_cast<const std::uint32_t*>(reinterpret_cast<const unsigned char*>(argb) +
                                                  static_cast<std::ptrdiff_t>(y) * strideBytes);
}

}  // namespace

void FrameChanges::forget() {
    shown_.clear();
    width_ = 0;
    height_ = 0;
}

ShapeRect FrameChanges::update(const std::uint32_t* argb, int width, int height, int strideBytes) {
    if (argb == nullptr || width <= 0 || height <= 0 || strideBytes < width * 4) {
        forget();
        return ShapeRect{};
    }
    const auto rowPixels = static_cast<std::size_t>(width);
    const std::size_t rowBytes = rowPixels * sizeof(std::uint32_t);
    if (width != width_ || height != height_) {
        shown_.resize(rowPixels * static_cast<std::size_t>(height));
        for (int y = 0; y < height; ++y) {
            std::memcpy(&shown_[static_cast<std::size_t>(y) * rowPixels],
                        rowOf(argb, y, strideBytes), rowBytes);
        }
        width_ = width;
        height_ = height;
        return ShapeRect{0, 0, width, height};
    }

    int top = -1;
    int bottom = -1;
    int left = width;
    int right = -1;  // inclusive
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* now = rowOf(argb, y, strideBytes);
        std::uint32_t* before = &shown_[static_cast<std::size_t>(y) * rowPixels];
        if (std::memcmp(now, before, rowBytes) == 0) {
            continue;
        }
        // Only columns outside the span found so far can widen it.
        int x = 0;
        while (x < left && now[x] == before[x]) {
            ++x;
        }
        left = std::min(left, x);
        x = width - 1;
        while (x > right && now[x] == before[x]) {
            --x;
        }
        right = std::max(right, x);
        if (top < 0) {
            top = y;
        }
        bottom = y;
        std::memcpy(before, now, rowBytes);
    }
    if (top < 0) {
        return ShapeRect{};
    }
    return ShapeRect{left, top, right - left + 1, bottom - top + 1};
}

}  // namespace quelt

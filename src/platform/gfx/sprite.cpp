// Unscaled source-over of kept premultiplied pixels, two channels per multiply.
#include "platform/gfx/sprite.h"

#include <algorithm>
#include <cstring>

namespace quelt::gfx {

namespace {

constexpr std::uint32_t kLanes = 0x00FF00FFu;

// Each 8-bit lane of `lanes` (two lanes, 16 bits apart) times a / 255, rounded.
inline std::uint32_t ScaleLanes(std::uint32_t lanes, std::uint32_t a) {
    std::uint32_t t = lanes * a + 0x00800080u;
    t = ((t >> 8) & kLanes) + t;
    return (t >> 8) & kLanes;
}

// Per-lane sum, saturated at 255.
inline std::uint32_t AddLanes(std::uint32_t x, std::uint32_t y) {
    std::uint32_t t = x + y;
    t |= 0x01000100u - ((t >> 8) & kLanes);
    return t & kLanes;
}

inline std::uint32_t Over(std::uint32_t s, std::uint32_t d) {
    const std::uint32_t keep = 255u - (s >> 24);
    const std::uint32_t rb = AddLanes(s & kLanes, ScaleLanes(d & kLanes, keep));
    const std::uint32_t ag = AddLanes((s >> 8) & kLanes, ScaleLanes((d >> 8) & kLanes, keep));
    return rb | (ag << 8);
}

}  // namespace

void Sprite::reset() {
    pixels_.clear();
    runs_.clear();
    left_ = top_ = width_ = height_ = 0;
}

void Sprite::assign(const std::uint8_t* pixels, int stride, int width, int height) {
    reset();
    const auto at = [&](int x, int y) {
        std::uint32_t p = 0;
        std::memcpy(
            &p, pixels + static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x) * 4, 4);
        return p;
    };
    int x0 = width;
    int y0 = height;
    int x1 = 0;
    int y1 = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if ((at(x, y) >> 24) != 0) {
                x0 = std::min(x0, x);
                x1 = std::max(x1, x + 1);
                y0 = std::min(y0, y);
                y1 = y + 1;
            }
        }
    }
    if (x1 <= x0) {
        return;
    }
    left_ = x0;
    top_ = y0;
    width_ = x1 - x0;
    height_ = y1 - y0;
    pixels_.resize(static_cast<std::size_t>(width_) * height_);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            pixels_[static_cast<std::size_t>(y) * width_ + x] = at(x + x0, y + y0);
        }
    }
    // Runs of one kind: alpha 255, or visible but translucent; invisible pixels end a run.
    for (int y = 0; y < height_; ++y) {
        const std::uint32_t* row = pixels_.data() + static_cast<std::size_t>(y) * width_;
        int x = 0;
        while (x < width_) {
            const std::uint32_t alpha = row[x] >> 24;
            if (alpha == 0) {
                ++x;
                continue;
            }
            const bool opaque = alpha == 255u;
            int end = x + 1;
            while (end < width_ && (row[end] >> 24) != 0 && ((row[end] >> 24) == 255u) == opaque) {
                ++end;
            }
            runs_.push_back({y, x, end - x, opaque});
            x = end;
        }
    }
}

void Sprite::blendOnto(Canvas& canvas, int x, int y) const {
    if (pixels_.empty() || !canvas.valid()) {
        return;
    }
    const int boxX = x + left_;
    const int boxY = y + top_;
    for (const Run& run : runs_) {
        const int cy = boxY + run.row;
        if (cy < 0 || cy >= canvas.height()) {
            continue;
        }
        // Clip the run to the canvas's columns.
        const int from = std::max(run.start, -boxX);
        const int to = std::min(run.start + run.length, canvas.width() - boxX);
        if (to <= from) {
            continue;
        }
        const std::uint32_t* in =
            pixels_.data() + static_cast<std::size_t>(run.row) * width_ + from;
        auto* out = reinterpret_cast<std::uint32_t*>(canvas.data() + static_cast<std::size_t>(cy) *
                                                                         canvas.stride()) +
                    (boxX + from);
        if (run.opaque) {
            std::memcpy(out, in, static_cast<std::size_t>(to - from) * 4);
            continue;
        }
        for (int i = 0; i < to - from; ++i) {
            out[i] = Over(in[i], out[i]);
        }
    }
}

}  // namespace quelt::gfx

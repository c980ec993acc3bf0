#pragma once
// Premultiplied pixels kept ready for unscaled source-over drawing: cut down to the box of their
// visible pixels, each row split into runs of opaque and of translucent pixels, so that a draw
// copies the opaque runs, blends the translucent ones and skips the rest. Both drawing backends
// use it for slices drawn at their own size, and labels for their kept ink.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/gfx/gfx.h"

namespace quelt::gfx {

class Sprite {
  public:
    // Keeps the pixels of a width x height block whose rows are `stride` bytes apart.
    void assign(const std::uint8_t* pixels, int stride, int width, int height);
    void reset();
    // Nothing visible: every pixel had alpha 0.
    bool empty() const { return pixels_.empty(); }
    // Source-over onto the canvas with the block's top-left corner at (x, y), clipped to the
    // canvas; channels round like cairo's compositing.
    void blendOnto(Canvas& canvas, int x, int y) const;

  private:
    struct Run {
        int row = 0;     // in the box
        int start = 0;   // column in the box
        int length = 0;  // pixels
        bool opaque = false;
    };
    std::vector<std::uint32_t> pixels_;  // the box, rows packed
    std::vector<Run> runs_;
    int left_ = 0;  // of the box in the block
    int top_ = 0;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace quelt::gfx

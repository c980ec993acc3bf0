#pragma once
// Which part of a window's frame differs from the frame shown before it. Every frame is still
// composed whole; this only narrows what is handed to the screen to the rectangle that changed,
// which is what a platform charges for (a layered window's blend, an X server's copy).
#include <cstdint>
#include <vector>

#include "platform/window/alpha_shape.h"

namespace quelt {

class FrameChanges {
  public:
    // The smallest rectangle holding every pixel that differs from the last frame passed here
    // (the whole frame when there was none of this size, or after forget()); width 0 when nothing
    // differs. Remembers this frame.
    ShapeRect update(const std::uint32_t* argb, int width, int height, int strideBytes);

    // The screen's copy may be gone or stale: the next frame counts as all new.
    void forget();

  private:
    std::vector<std::uint32_t> shown_;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace quelt

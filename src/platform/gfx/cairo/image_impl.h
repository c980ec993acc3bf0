#pragma once
// Backend data on Linux: a decoded image with the slices cut out of it so far, the drawing
// context kept over a canvas, and the scope of one drawing operation on it.
#include <cairo.h>

#include <vector>

#include "platform/gfx/cairo/cairo_owners.h"
#include "platform/gfx/gfx.h"
#include "platform/gfx/pixel_block.h"
#include "platform/gfx/sprite.h"

namespace quelt::gfx {

// The pixels of one block of an image as a surface of their own, and the pattern that draws them
// (edges padded with the block's own border pixels), and its pixels ready for drawing at their own
// size (made on the first such draw).
struct ImageSlice {
    PixelBlock block;
    CairoSurface surface;
    CairoPattern pattern;
    Sprite unscaled;
    bool unscaledReady = false;
};

struct Image::Impl {
    CairoSurface surface;  // premultiplied ARGB32
    std::vector<ImageSlice> slices;
};

struct Canvas::Target {
    CairoSurface surface;  // over the canvas's memory, no copy
    CairoContext cr;
};

// One drawing operation on a canvas: its kept context (made on first use), with the context's
// state saved on entry and restored on exit, and the surface flushed, so each operation starts
// unclipped and untransformed. `get` is null for an invalid canvas.
class CanvasContext {
  public:
    explicit CanvasContext(Canvas& canvas);
    CanvasContext(const CanvasContext&) = delete;
    CanvasContext& operator=(const CanvasContext&) = delete;
    ~CanvasContext();
    cairo_t* get() const { return cr_; }

  private:
    cairo_t* cr_ = nullptr;
};

}  // namespace quelt::gfx

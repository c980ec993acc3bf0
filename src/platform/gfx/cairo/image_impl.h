#pragma once
// Backend data of a decoded image on Linux, and the cairo context that draws into a canvas.
#include <cairo.h>

#include "platform/gfx/cairo/cairo_owners.h"
#include "platform/gfx/gfx.h"

namespace quelt::gfx {

struct Image::Impl {
    CairoSurface surface;  // premultiplied ARGB32
};

// A cairo context drawing straight into a canvas's memory (no copy) for one operation; the
// surface is flushed when it ends. `get` is null for an invalid canvas.
class CanvasContext {
  public:
    explicit CanvasContext(Canvas& canvas);
    CanvasContext(const CanvasContext&) = delete;
    CanvasContext& operator=(const CanvasContext&) = delete;
    ~CanvasContext();
    cairo_t* get() const { return cr_.get(); }

  private:
    CairoSurface surface_;
    CairoContext cr_;
};

}  // namespace quelt::gfx

#pragma once
// Backend data of a decoded image on Linux.
#include <cairo.h>

#include "platform/gfx/gfx.h"

namespace quelt::gfx {

struct Image::Impl {
    Impl() = default;
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;
    ~Impl();
    cairo_surface_t* surface = nullptr;  // premultiplied ARGB32
};

// A cairo surface over the canvas's memory (no copy). The caller destroys it.
cairo_surface_t* surfaceForCanvas(Canvas& canvas);

}  // namespace quelt::gfx

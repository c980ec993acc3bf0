// Image drawing and gradients on Linux with cairo, straight into the canvas memory.
#include <cairo.h>

#include <algorithm>
#include <cstring>

#include "platform/gfx/cairo/image_impl.h"
#include "platform/gfx/gfx.h"
#include "platform/gfx/pixel_block.h"

namespace quelt::gfx {

std::uintptr_t startup() {
    return 1;
}  // cairo needs no start-up
void shutdown(std::uintptr_t /*token*/) {}

CanvasContext::CanvasContext(Canvas& canvas) {
    if (!canvas.valid()) {
        return;
    }
    surface_.reset(cairo_image_surface_create_for_data(
        canvas.data(), CAIRO_FORMAT_ARGB32, canvas.width(), canvas.height(), canvas.stride()));
    if (cairo_surface_status(surface_.get()) != CAIRO_STATUS_SUCCESS) {
        surface_.reset();
        return;
    }
    cr_.reset(cairo_create(surface_.get()));
}

CanvasContext::~CanvasContext() {
    cr_.reset();
    if (surface_ != nullptr) {
        cairo_surface_flush(surface_.get());
    }
}

namespace {

// A copy of the integer pixel columns/rows covering the source rectangle, so that padding at its
// edges repeats the slice's own border pixels instead of sampling the neighbouring slice.
CairoSurface sliceCopy(cairo_surface_t* image, int x0, int y0, int x1, int y1) {
    const int width = x1 - x0;
    const int height = y1 - y0;
    CairoSurface slice(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
    if (cairo_surface_status(slice.get()) != CAIRO_STATUS_SUCCESS) {
        return nullptr;
    }
    cairo_surface_flush(image);
    cairo_surface_flush(slice.get());
    const unsigned char* in = cairo_image_surface_get_data(image);
    const int inStride = cairo_image_surface_get_stride(image);
    unsigned char* out = cairo_image_surface_get_data(slice.get());
    const int outStride = cairo_image_surface_get_stride(slice.get());
    for (int y = 0; y < height; ++y) {
        std::memcpy(
            out + static_cast<std::size_t>(y) * outStride,
            in + static_cast<std::size_t>(y + y0) * inStride + static_cast<std::size_t>(x0) * 4,
            static_cast<std::size_t>(width) * 4);
    }
    cairo_surface_mark_dirty(slice.get());
    return slice;
}

int paintImage(Canvas& canvas, const Image& image, const RectF& source, const RectF& dest,
               double opacity) {
    if (!image.valid()) {
        return kInvalidParameter;
    }
    cairo_surface_t* pixels = image.impl()->surface.get();
    const int imageWidth = cairo_image_surface_get_width(pixels);
    const int imageHeight = cairo_image_surface_get_height(pixels);
    const PixelBlock block = pixelsToDraw(source, dest, imageWidth, imageHeight);
    if (block.empty()) {
        return kOk;  // nothing to cover
    }
    CanvasContext context(canvas);
    cairo_t* cr = context.get();
    if (cr == nullptr) {
        return kInvalidParameter;
    }
    const CairoSurface slice = block.whole(imageWidth, imageHeight)
                                   ? CairoSurface(cairo_surface_reference(pixels))
                                   : sliceCopy(pixels, block.x0, block.y0, block.x1, block.y1);
    if (slice == nullptr) {
        return kOutOfMemory;
    }
    const CairoPattern pattern(cairo_pattern_create_for_surface(slice.get()));
    cairo_pattern_set_extend(pattern.get(), CAIRO_EXTEND_PAD);
    cairo_pattern_set_filter(pattern.get(), CAIRO_FILTER_GOOD);
    // Pattern space is the slice copy; map destination coordinates into it.
    cairo_matrix_t matrix;
    cairo_matrix_init_translate(&matrix, source.x - block.x0, source.y - block.y0);
    cairo_matrix_scale(&matrix, source.width / dest.width, source.height / dest.height);
    cairo_matrix_translate(&matrix, -dest.x, -dest.y);
    cairo_pattern_set_matrix(pattern.get(), &matrix);

    cairo_rectangle(cr, dest.x, dest.y, dest.width, dest.height);
    cairo_clip(cr);
    cairo_set_source(cr, pattern.get());
    if (opacity >= 1.0) {
        cairo_paint(cr);
    } else {
        cairo_paint_with_alpha(cr, std::max(0.0, opacity));
    }
    return kOk;
}

}  // namespace

int drawImage(Canvas& canvas, const Image& image, const RectF& source, const RectF& dest) {
    return paintImage(canvas, image, source, dest, 1.0);
}

int drawImage(Canvas& canvas, const Image& image, const RectF& source, const RectF& dest,
              float opacity) {
    return paintImage(canvas, image, source, dest, opacity);
}

int fillGradient(Canvas& canvas, int left, int top, int right, int bottom, std::uint32_t argbLeft,
                 std::uint32_t argbRight) {
    CanvasContext context(canvas);
    cairo_t* cr = context.get();
    if (cr == nullptr) {
        return kInvalidParameter;
    }
    if (right <= left || bottom <= top) {
        return kOk;
    }
    const CairoPattern pattern(cairo_pattern_create_linear(left, 0, right, 0));
    const auto addStop = [&pattern](double offset, std::uint32_t argb) {
        cairo_pattern_add_color_stop_rgba(pattern.get(), offset, ((argb >> 16) & 0xFF) / 255.0,
                                          ((argb >> 8) & 0xFF) / 255.0, (argb & 0xFF) / 255.0,
                                          ((argb >> 24) & 0xFF) / 255.0);
    };
    addStop(0.0, argbLeft);
    addStop(1.0, argbRight);
    cairo_pattern_set_extend(pattern.get(), CAIRO_EXTEND_REPEAT);
    cairo_rectangle(cr, left, top, right - left, bottom - top);
    cairo_set_source(cr, pattern.get());
    cairo_fill(cr);
    return kOk;
}

}  // namespace quelt::gfx

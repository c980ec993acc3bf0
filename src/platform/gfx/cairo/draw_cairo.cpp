// Image drawing and gradients on Linux with cairo, straight into the canvas memory.
#include <cairo.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/gfx/cairo/image_impl.h"
#include "platform/gfx/gfx.h"
#include "platform/gfx/pixel_block.h"

namespace quelt::gfx {

std::uintptr_t startup() {
    return 1;
}  // cairo needs no start-up
void shutdown(std::uintptr_t /*token*/) {}

void Canvas::TargetDeleter::operator()(Target* target) const {
    delete target;
}

CanvasContext::CanvasContext(Canvas& canvas) {
    if (!canvas.valid()) {
        return;
    }
    if (canvas.target() == nullptr) {
        auto target = std::make_unique<Canvas::Target>();
        target->surface.reset(cairo_image_surface_create_for_data(
            canvas.data(), CAIRO_FORMAT_ARGB32, canvas.width(), canvas.height(), canvas.stride()));
        if (cairo_surface_status(target->surface.get()) != CAIRO_STATUS_SUCCESS) {
            return;
        }
        target->cr.reset(cairo_create(target->surface.get()));
        if (cairo_status(target->cr.get()) != CAIRO_STATUS_SUCCESS) {
            return;
        }
        canvas.setTarget(target.release());
    }
    cr_ = canvas.target()->cr.get();
    // The canvas's memory may have been written directly since the last operation.
    cairo_surface_mark_dirty(canvas.target()->surface.get());
    cairo_save(cr_);
}

CanvasContext::~CanvasContext() {
    if (cr_ != nullptr) {
        cairo_restore(cr_);
        cairo_surface_flush(cairo_get_target(cr_));
    }
}

namespace {

// A copy of the integer pixel columns/rows covering the source rectangle, so that padding at its
// edges repeats the slice's own border pixels instead of sampling the neighbouring slice.
CairoSurface sliceCopy(cairo_surface_t* image, const PixelBlock& block) {
    const int width = block.x1 - block.x0;
    const int height = block.y1 - block.y0;
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
        std::memcpy(out + static_cast<std::size_t>(y) * outStride,
                    in + static_cast<std::size_t>(y + block.y0) * inStride +
                        static_cast<std::size_t>(block.x0) * 4,
                    static_cast<std::size_t>(width) * 4);
    }
    cairo_surface_mark_dirty(slice.get());
    return slice;
}

// The slice of `block`, cut out on its first draw and kept with the image; null when out of
// memory.
ImageSlice* sliceOf(Image::Impl& image, const PixelBlock& block) {
    for (ImageSlice& slice : image.slices) {
        if (slice.block == block) {
            return &slice;
        }
    }
    cairo_surface_t* pixels = image.surface.get();
    ImageSlice slice;
    slice.block = block;
    slice.surface =
        block.whole(cairo_image_surface_get_width(pixels), cairo_image_surface_get_height(pixels))
            ? CairoSurface(cairo_surface_reference(pixels))
            : sliceCopy(pixels, block);
    if (slice.surface == nullptr) {
        return nullptr;
    }
    slice.pattern.reset(cairo_pattern_create_for_surface(slice.surface.get()));
    cairo_pattern_set_extend(slice.pattern.get(), CAIRO_EXTEND_PAD);
    cairo_pattern_set_filter(slice.pattern.get(), CAIRO_FILTER_GOOD);
    image.slices.push_back(std::move(slice));
    return &image.slices.back();
}

int paintImage(Canvas& canvas, const Image& image, const RectF& source, const RectF& dest,
               double opacity) {
    if (!image.valid()) {
        return kInvalidParameter;
    }
    cairo_surface_t* pixels = image.impl()->surface.get();
    const PixelBlock block = pixelsToDraw(source, dest, cairo_image_surface_get_width(pixels),
                                          cairo_image_surface_get_height(pixels));
    if (block.empty()) {
        return kOk;  // nothing to cover
    }
    ImageSlice* slice = sliceOf(*image.impl(), block);
    if (slice == nullptr) {
        return kOutOfMemory;
    }
    if (opacity >= 1.0 && drawnAtOwnSize(source, dest, block)) {
        if (!canvas.valid()) {
            return kInvalidParameter;
        }
        if (!slice->unscaledReady) {
            cairo_surface_t* pixels = slice->surface.get();
            cairo_surface_flush(pixels);
            slice->unscaled.assign(cairo_image_surface_get_data(pixels),
                                   cairo_image_surface_get_stride(pixels), block.x1 - block.x0,
                                   block.y1 - block.y0);
            slice->unscaledReady = true;
        }
        slice->unscaled.blendOnto(canvas, static_cast<int>(dest.x), static_cast<int>(dest.y));
        return kOk;
    }
    const CanvasContext context(canvas);
    cairo_t* cr = context.get();
    if (cr == nullptr) {
        return kInvalidParameter;
    }
    // Pattern space is the slice; map destination coordinates into it.
    cairo_matrix_t matrix;
    cairo_matrix_init_translate(&matrix, source.x - block.x0, source.y - block.y0);
    cairo_matrix_scale(&matrix, source.width / dest.width, source.height / dest.height);
    cairo_matrix_translate(&matrix, -dest.x, -dest.y);
    cairo_pattern_set_matrix(slice->pattern.get(), &matrix);

    cairo_rectangle(cr, dest.x, dest.y, dest.width, dest.height);
    cairo_clip(cr);
    cairo_set_source(cr, slice->pattern.get());
    if (opacity >= 1.0) {
        cairo_paint(cr);
    } else {
        cairo_paint_with_alpha(cr, std::max(0.0, opacity));
    }
    return kOk;
}

}  // namespace

int copyImage(Canvas& canvas, const Image& image) {
    if (!image.valid() || !canvas.valid()) {
        return kInvalidParameter;
    }
    cairo_surface_t* pixels = image.impl()->surface.get();
    const int width = cairo_image_surface_get_width(pixels);
    const int height = cairo_image_surface_get_height(pixels);
    if (width != canvas.width() || height != canvas.height()) {
        return kInvalidParameter;
    }
    cairo_surface_flush(pixels);
    const unsigned char* in = cairo_image_surface_get_data(pixels);
    const int inStride = cairo_image_surface_get_stride(pixels);
    for (int y = 0; y < height; ++y) {
        std::memcpy(canvas.data() + static_cast<std::size_t>(y) * canvas.stride(),
                    in + static_cast<std::size_t>(y) * inStride,
                    static_cast<std::size_t>(width) * 4);
    }
    return kOk;
}

int drawImage(Canvas& canvas, const Image& image, const RectF& source, const RectF& dest) {
    return paintImage(canvas, image, source, dest, 1.0);
}

int drawImage(Canvas& canvas, const Image& image, const RectF& source, const RectF& dest,
              float opacity) {
    return paintImage(canvas, image, source, dest, opacity);
}

int fillGradient(Canvas& canvas, int left, int top, int right, int bottom, std::uint32_t argbLeft,
                 std::uint32_t argbRight) {
    const CanvasContext context(canvas);
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

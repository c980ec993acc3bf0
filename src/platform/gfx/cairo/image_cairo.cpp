// Images on Linux: gdk-pixbuf decodes by content, the pixels are kept as a premultiplied cairo
// image surface ready for drawing.
#include <cairo.h>
#include <gdk-pixbuf/gdk-pixbuf.h>

#include <utility>

#include "platform/fs/fs.h"
#include "platform/gfx/cairo/image_impl.h"
#include "platform/gfx/gfx.h"
#include "platform/gfx/image_header.h"

namespace quelt::gfx {

namespace {

// Copies a pixbuf (RGB or RGBA, 8 bits per sample) into a new premultiplied ARGB32 surface.
CairoSurface surfaceFromPixbuf(const GdkPixbuf* pixbuf) {
    const int width = gdk_pixbuf_get_width(pixbuf);
    const int height = gdk_pixbuf_get_height(pixbuf);
    const int channels = gdk_pixbuf_get_n_channels(pixbuf);
    const bool alpha = gdk_pixbuf_get_has_alpha(pixbuf);
    if (gdk_pixbuf_get_bits_per_sample(pixbuf) != 8 || channels < 3 || width <= 0 || height <= 0 ||
        !imageSizeAllowed(static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(height))) {
        return nullptr;
    }
    CairoSurface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) {
        return nullptr;
    }
    cairo_surface_flush(surface.get());
    const guchar* source = gdk_pixbuf_read_pixels(pixbuf);
    const int sourceStride = gdk_pixbuf_get_rowstride(pixbuf);
    unsigned char* target = cairo_image_surface_get_data(surface.get());
    const int targetStride = cairo_image_surface_get_stride(surface.get());
    for (int y = 0; y < height; ++y) {
        const guchar* in = source + static_cast<std::size_t>(y) * sourceStride;
        auto* out =
            reinterpret_cast<std::uint32_t*>(target + static_cast<std::size_t>(y) * targetStride);
        for (int x = 0; x < width; ++x, in += channels) {
            const std::uint32_t a = alpha ? in[3] : 255u;
            if (a == 255u) {
                out[x] = 0xFF000000u | (std::uint32_t{in[0]} << 16) | (std::uint32_t{in[1]} << 8) |
                         in[2];
            } else if (a == 0u) {
                out[x] = 0;
            } else {
                const auto premultiply = [a](std::uint32_t c) { return (c * a + 127u) / 255u; };
                out[x] = (a << 24) | (premultiply(in[0]) << 16) | (premultiply(in[1]) << 8) |
                         premultiply(in[2]);
            }
        }
    }
    cairo_surface_mark_dirty(surface.get());
    return surface;
}

}  // namespace

void Image::ImplDeleter::operator()(Impl* impl) const {
    delete impl;
}

Image Image::fromFile(const std::string& path) {
    Image image;
    const std::string native = fs::nativePath(path);
    // The size is checked before anything is decoded; a refused image fails like a broken one.
    image.status_ = checkImageFile(native);
    if (image.status_ != kOk) {
        return image;
    }
    GError* error = nullptr;
    const GObjectOwner<GdkPixbuf> pixbuf(gdk_pixbuf_new_from_file(native.c_str(), &error));
    const GErrorOwner failure(error);
    if (pixbuf == nullptr) {
        const bool missing = failure != nullptr && failure->domain == G_FILE_ERROR;
        image.status_ = missing ? kFileNotFound : kOutOfMemory;
        return image;
    }
    CairoSurface surface = surfaceFromPixbuf(pixbuf.get());
    if (surface == nullptr) {
        image.status_ = kOutOfMemory;
        return image;
    }
    image.impl_.reset(new Impl());
    image.impl_->surface = std::move(surface);
    return image;
}

Image Image::fromResource(int /*resourceId*/) {
    Image image;
    image.status_ = kFileNotFound;  // no executable resources on this platform
    return image;
}

bool Image::valid() const {
    return impl_ != nullptr && impl_->surface != nullptr;
}

std::uint32_t Image::width() const {
    return valid() ? static_cast<std::uint32_t>(cairo_image_surface_get_width(impl_->surface.get()))
                   : 0;
}

std::uint32_t Image::height() const {
    return valid()
               ? static_cast<std::uint32_t>(cairo_image_surface_get_height(impl_->surface.get()))
               : 0;
}

}  // namespace quelt::gfx

// Image drawing, copies and gradients on Windows with GDI+, straight into the canvas memory.
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "platform/gfx/gdiplus/gdiplus_common.h"
#include "platform/gfx/pixel_block.h"

namespace quelt::gfx {

std::uintptr_t startup() {
    Gdiplus::GdiplusStartupInput input;  // version 1, no debug callback, nothing suppressed
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    return static_cast<std::uintptr_t>(token);
}

void shutdown(std::uintptr_t token) {
    if (token != 0) {
        Gdiplus::GdiplusShutdown(static_cast<ULONG_PTR>(token));
    }
}

void Canvas::TargetDeleter::operator()(Target* target) const {
    delete target;
}

CanvasGraphics::CanvasGraphics(Canvas& canvas) {
    if (!canvas.valid()) {
        return;
    }
    if (canvas.target() == nullptr) {
        auto target = std::make_unique<Canvas::Target>();
        Gdiplus::GpBitmap* bitmap = nullptr;
        if (gp::GdipCreateBitmapFromScan0(canvas.width(), canvas.height(), canvas.stride(),
                                          PixelFormat32bppPARGB, canvas.data(),
                                          &bitmap) != Gdiplus::Ok) {
            return;
        }
        target->bitmap.reset(bitmap);
        Gdiplus::GpGraphics* graphics = nullptr;
        if (gp::GdipGetImageGraphicsContext(bitmap, &graphics) != Gdiplus::Ok) {
            return;
        }
        target->graphics.reset(graphics);
        canvas.setTarget(target.release());
    }
    graphics_ = canvas.target()->graphics.get();
}

CanvasGraphics::~CanvasGraphics() {
    if (graphics_ != nullptr) {
        gp::GdipResetWorldTransform(graphics_);
        gp::GdipFlush(graphics_, Gdiplus::FlushIntentionSync);
    }
}

namespace {

// The slice of `block` as a premultiplied bitmap of its own, so that sampling at its edges
// cannot reach the neighbouring slice of a strip; cut on its first draw and kept with the image.
Gdiplus::GpImage* SliceOf(Image::Impl& image, const PixelBlock& block) {
    for (const ImageSlice& slice : image.slices) {
        if (slice.block == block) {
            return slice.bitmap.get();
        }
    }
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (gp::GdipCloneBitmapAreaI(
            block.x0, block.y0, block.x1 - block.x0, block.y1 - block.y0, PixelFormat32bppPARGB,
            reinterpret_cast<Gdiplus::GpBitmap*>(image.image.get()), &bitmap) != Gdiplus::Ok) {
        return nullptr;
    }
    image.slices.push_back(ImageSlice{block, GpImageOwner(bitmap)});
    return bitmap;
}

// Mirrored edges: pixels just outside the source repeat its border instead of fading out.
GpAttributesOwner EdgeAttributes() {
    Gdiplus::GpImageAttributes* created = nullptr;
    gp::GdipCreateImageAttributes(&created);
    GpAttributesOwner attributes(created);
    if (attributes != nullptr) {
        gp::GdipSetImageAttributesWrapMode(attributes.get(), Gdiplus::WrapModeTileFlipXY,
                                           0xFF000000, FALSE);
    }
    return attributes;
}

// A block of the image as premultiplied ARGB rows packed `block` wide; empty when it cannot be
// read.
std::vector<std::uint32_t> ReadPremultiplied(Image::Impl& impl, const PixelBlock& block) {
    const int width = block.x1 - block.x0;
    const int height = block.y1 - block.y0;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    Gdiplus::BitmapData data{};
    data.Width = static_cast<UINT>(width);
    data.Height = static_cast<UINT>(height);
    data.Stride = width * 4;
    data.PixelFormat = PixelFormat32bppPARGB;
    data.Scan0 = pixels.data();
    const Gdiplus::GpRect rect{block.x0, block.y0, width, height};
    auto* bitmap = reinterpret_cast<Gdiplus::GpBitmap*>(impl.image.get());
    if (gp::GdipBitmapLockBits(bitmap, &rect,
                               Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
                               PixelFormat32bppPARGB, &data) != Gdiplus::Ok) {
        return {};
    }
    gp::GdipBitmapUnlockBits(bitmap, &data);
    return pixels;
}

// The whole image as premultiplied ARGB rows, made on first use and kept.
const std::vector<std::uint32_t>* Premultiplied(Image::Impl& impl, int width, int height) {
    if (impl.premultiplied.empty()) {
        impl.premultiplied = ReadPremultiplied(impl, PixelBlock{0, 0, width, height});
    }
    return impl.premultiplied.empty() ? nullptr : &impl.premultiplied;
}

// The block kept for drawing at its own size, read on its first such draw; null when it cannot
// be read.
const Sprite* SpriteOf(Image::Impl& image, const PixelBlock& block) {
    for (const ImageSprite& kept : image.sprites) {
        if (kept.block == block) {
            return &kept.sprite;
        }
    }
    const std::vector<std::uint32_t> pixels = ReadPremultiplied(image, block);
    if (pixels.empty()) {
        return nullptr;
    }
    ImageSprite kept{block, Sprite()};
    kept.sprite.assign(reinterpret_cast<const std::uint8_t*>(pixels.data()),
                       (block.x1 - block.x0) * 4, block.x1 - block.x0, block.y1 - block.y0);
    image.sprites.push_back(std::move(kept));
    return &image.sprites.back().sprite;
}

int PaintImage(Canvas& canvas, const Image& image, const RectF& source, const RectF& dest,
               const float* opacity) {
    if (!image.valid()) {
        return kInvalidParameter;
    }
    const int imageWidth = static_cast<int>(image.width());
    const int imageHeight = static_cast<int>(image.height());
    const PixelBlock block = pixelsToDraw(source, dest, imageWidth, imageHeight);
    if (block.empty()) {
        return kOk;
    }
    Image::Impl& impl = *image.impl();
    if ((opacity == nullptr || *opacity >= 1.0f) && drawnAtOwnSize(source, dest, block)) {
        if (!canvas.valid()) {
            return kInvalidParameter;
        }
        const Sprite* sprite = SpriteOf(impl, block);
        if (sprite == nullptr) {
            return kOutOfMemory;
        }
        sprite->blendOnto(canvas, static_cast<int>(dest.x), static_cast<int>(dest.y));
        return kOk;
    }
    const CanvasGraphics graphics(canvas);
    if (graphics.get() == nullptr) {
        return kInvalidParameter;
    }
    Gdiplus::GpImage* drawn = SliceOf(impl, block);
    if (drawn == nullptr) {
        return kOutOfMemory;
    }
    GpAttributesOwner faded;
    Gdiplus::GpImageAttributes* attributes = nullptr;
    if (opacity != nullptr) {
        faded = EdgeAttributes();
        Gdiplus::ColorMatrix matrix{};
        for (int i = 0; i < 5; ++i) {
            matrix.m[i][i] = 1.0f;
        }
        matrix.m[3][3] = *opacity;
        gp::GdipSetImageAttributesColorMatrix(faded.get(), Gdiplus::ColorAdjustTypeBitmap, TRUE,
                                              &matrix, nullptr, Gdiplus::ColorMatrixFlagsDefault);
        attributes = faded.get();
    } else {
        if (impl.edges == nullptr) {
            impl.edges = EdgeAttributes();
        }
        attributes = impl.edges.get();
    }
    const Gdiplus::GpStatus status = gp::GdipDrawImageRectRect(
        graphics.get(), drawn, dest.x, dest.y, dest.width, dest.height,
        source.x - static_cast<float>(block.x0), source.y - static_cast<float>(block.y0),
        source.width, source.height, Gdiplus::UnitPixel, attributes, nullptr, nullptr);
    return static_cast<int>(status);
}

}  // namespace

int copyImage(Canvas& canvas, const Image& image) {
    if (!image.valid() || !canvas.valid()) {
        return kInvalidParameter;
    }
    const int width = static_cast<int>(image.width());
    const int height = static_cast<int>(image.height());
    if (width != canvas.width() || height != canvas.height()) {
        return kInvalidParameter;
    }
    const std::vector<std::uint32_t>* pixels = Premultiplied(*image.impl(), width, height);
    if (pixels == nullptr) {
        return kOutOfMemory;
    }
    for (int y = 0; y < height; ++y) {
        std::memcpy(canvas.data() + static_cast<std::size_t>(y) * canvas.stride(),
                    pixels->data() + static_cast<std::size_t>(y) * width,
                    static_cast<std::size_t>(width) * 4);
    }
    return kOk;
}

int drawImage(Canvas& canvas, const Image& image, const RectF& source, const RectF& dest) {
    return PaintImage(canvas, image, source, dest, nullptr);
}

int drawImage(Canvas& canvas, const Image& image, const RectF& source, const RectF& dest,
              float opacity) {
    return PaintImage(canvas, image, source, dest, &opacity);
}

int fillGradient(Canvas& canvas, int left, int top, int right, int bottom, std::uint32_t argbLeft,
                 std::uint32_t argbRight) {
    const CanvasGraphics graphics(canvas);
    if (graphics.get() == nullptr) {
        return kInvalidParameter;
    }
    if (right <= left || bottom <= top) {
        return kOk;
    }
    const Gdiplus::GpRect rect{left, top, right - left, bottom - top};
    Gdiplus::GpLineGradient* brush = nullptr;
    Gdiplus::GpStatus status = gp::GdipCreateLineBrushFromRectI(
        &rect, argbLeft, argbRight, Gdiplus::LinearGradientModeHorizontal, Gdiplus::WrapModeTile,
        &brush);
    if (status != Gdiplus::Ok) {
        return static_cast<int>(status);
    }
    const GpBrushOwner owner(brush);
    return static_cast<int>(
        gp::GdipFillRectangleI(graphics.get(), brush, rect.X, rect.Y, rect.Width, rect.Height));
}

}  // namespace quelt::gfx

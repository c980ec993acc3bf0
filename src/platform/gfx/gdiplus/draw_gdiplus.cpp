// Image drawing and gradients on Windows with GDI+, straight into the canvas memory.
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

CanvasGraphics::CanvasGraphics(Canvas& canvas) {
    if (!canvas.valid()) {
        return;
    }
    if (gp::GdipCreateBitmapFromScan0(canvas.width(), canvas.height(), canvas.stride(),
                                      PixelFormat32bppPARGB, canvas.data(),
                                      &bitmap_) != Gdiplus::Ok) {
        bitmap_ = nullptr;
        return;
    }
    if (gp::GdipGetImageGraphicsContext(bitmap_, &graphics_) != Gdiplus::Ok) {
        graphics_ = nullptr;
    }
}

CanvasGraphics::~CanvasGraphics() {
    if (graphics_ != nullptr) {
        gp::GdipDeleteGraphics(graphics_);
    }
    if (bitmap_ != nullptr) {
        gp::GdipDisposeImage(bitmap_);
    }
}

namespace {

// Owns an image-attributes object.
class Attributes {
  public:
    Attributes() { gp::GdipCreateImageAttributes(&attributes_); }
    Attributes(const Attributes&) = delete;
    Attributes& operator=(const Attributes&) = delete;
    ~Attributes() {
        if (attributes_ != nullptr) {
            gp::GdipDisposeImageAttributes(attributes_);
        }
    }
    Gdiplus::GpImageAttributes* get() const { return attributes_; }

  private:
    Gdiplus::GpImageAttributes* attributes_ = nullptr;
};

// The pixels of the integer area covering the source rectangle, as a bitmap of their own, so
// that sampling at the edges cannot reach the neighbouring slice of a strip.
Gdiplus::GpBitmap* SliceCopy(Gdiplus::GpImage* image, int x0, int y0, int x1, int y1) {
    Gdiplus::GpBitmap* slice = nullptr;
    if (gp::GdipCloneBitmapAreaI(x0, y0, x1 - x0, y1 - y0, PixelFormat32bppPARGB,
                                 reinterpret_cast<Gdiplus::GpBitmap*>(image),
                                 &slice) != Gdiplus::Ok) {
        return nullptr;
    }
    return slice;
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
    CanvasGraphics graphics(canvas);
    if (graphics.get() == nullptr) {
        return kInvalidParameter;
    }
    Gdiplus::GpBitmap* slice =
        block.whole(imageWidth, imageHeight)
            ? nullptr
            : SliceCopy(image.impl()->image, block.x0, block.y0, block.x1, block.y1);
    Gdiplus::GpImage* drawn = slice != nullptr ? slice : image.impl()->image;
    const float offsetX = slice != nullptr ? static_cast<float>(block.x0) : 0.0f;
    const float offsetY = slice != nullptr ? static_cast<float>(block.y0) : 0.0f;

    Attributes attributes;
    // Mirrored edges: pixels just outside the source repeat its border instead of fading out.
    gp::GdipSetImageAttributesWrapMode(attributes.get(), Gdiplus::WrapModeTileFlipXY, 0xFF000000,
                                       FALSE);
    if (opacity != nullptr) {
        Gdiplus::ColorMatrix matrix{};
        for (int i = 0; i < 5; ++i) {
            matrix.m[i][i] = 1.0f;
        }
        matrix.m[3][3] = *opacity;
        gp::GdipSetImageAttributesColorMatrix(attributes.get(), Gdiplus::ColorAdjustTypeBitmap,
                                              TRUE, &matrix, nullptr,
                                              Gdiplus::ColorMatrixFlagsDefault);
    }
    const Gdiplus::GpStatus status = gp::GdipDrawImageRectRect(
        graphics.get(), drawn, dest.x, dest.y, dest.width, dest.height, source.x - offsetX,
        source.y - offsetY, source.width, source.height, Gdiplus::UnitPixel, attributes.get(),
        nullptr, nullptr);
    if (slice != nullptr) {
        gp::GdipDisposeImage(slice);
    }
    return static_cast<int>(status);
}

}  // namespace

int drawImage(Canvas& canvas, const Image& image, const RectF& source, const RectF& dest) {
    return PaintImage(canvas, image, source, dest, nullptr);
}

int drawImage(Canvas& canvas, const Image& image, const RectF& source, const RectF& dest,
              float opacity) {
    return PaintImage(canvas, image, source, dest, &opacity);
}

int fillGradient(Canvas& canvas, int left, int top, int right, int bottom, std::uint32_t argbLeft,
                 std::uint32_t argbRight) {
    CanvasGraphics graphics(canvas);
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
    status = gp::GdipFillRectangleI(graphics.get(), brush, rect.X, rect.Y, rect.Width, rect.Height);
    gp::GdipDeleteBrush(brush);
    return static_cast<int>(status);
}

}  // namespace quelt::gfx

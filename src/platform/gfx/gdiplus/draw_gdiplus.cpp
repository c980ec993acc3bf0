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
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (gp::GdipCreateBitmapFromScan0(canvas.width(), canvas.height(), canvas.stride(),
                                      PixelFormat32bppPARGB, canvas.data(),
                                      &bitmap) != Gdiplus::Ok) {
        return;
    }
    bitmap_.reset(bitmap);
    Gdiplus::GpGraphics* graphics = nullptr;
    if (gp::GdipGetImageGraphicsContext(bitmap, &graphics) == Gdiplus::Ok) {
        graphics_.reset(graphics);
    }
}

namespace {

// The pixels of the integer area covering the source rectangle, as a bitmap of their own, so
// that sampling at the edges cannot reach the neighbouring slice of a strip.
GpImageOwner SliceCopy(Gdiplus::GpImage* image, int x0, int y0, int x1, int y1) {
    Gdiplus::GpBitmap* slice = nullptr;
    if (gp::GdipCloneBitmapAreaI(x0, y0, x1 - x0, y1 - y0, PixelFormat32bppPARGB,
                                 reinterpret_cast<Gdiplus::GpBitmap*>(image),
                                 &slice) != Gdiplus::Ok) {
        return nullptr;
    }
    return GpImageOwner(slice);
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
    Gdiplus::GpImage* whole = image.impl()->image.get();
    const GpImageOwner slice = block.whole(imageWidth, imageHeight)
                                   ? nullptr
                                   : SliceCopy(whole, block.x0, block.y0, block.x1, block.y1);
    Gdiplus::GpImage* drawn = slice != nullptr ? slice.get() : whole;
    const float offsetX = slice != nullptr ? static_cast<float>(block.x0) : 0.0f;
    const float offsetY = slice != nullptr ? static_cast<float>(block.y0) : 0.0f;

    Gdiplus::GpImageAttributes* created = nullptr;
    gp::GdipCreateImageAttributes(&created);
    const GpAttributesOwner attributes(created);
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
    const GpBrushOwner owner(brush);
    return static_cast<int>(
        gp::GdipFillRectangleI(graphics.get(), brush, rect.X, rect.Y, rect.Width, rect.Height));
}

}  // namespace quelt::gfx

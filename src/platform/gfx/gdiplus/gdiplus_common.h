#pragma once
// GDI+ pieces shared by the Windows drawing backend: the flat API, owners of its objects, the
// image data and a graphics object drawing straight into a canvas's memory.
// Order matters: GDI+ needs the COM property types declared first.
#include <windows.h>

#include <objidl.h>

#include <gdiplus.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "base/unique_with.h"
#include "platform/gfx/gfx.h"
#include "platform/gfx/pixel_block.h"
#include "platform/gfx/sprite.h"

namespace quelt::gfx {

namespace gp = Gdiplus::DllExports;

using GpImageOwner = UniqueWith<Gdiplus::GpImage, &gp::GdipDisposeImage>;
using GpGraphicsOwner = UniqueWith<Gdiplus::GpGraphics, &gp::GdipDeleteGraphics>;
using GpAttributesOwner = UniqueWith<Gdiplus::GpImageAttributes, &gp::GdipDisposeImageAttributes>;
using GpBrushOwner = UniqueWith<Gdiplus::GpBrush, &gp::GdipDeleteBrush>;
using GpFontOwner = UniqueWith<Gdiplus::GpFont, &gp::GdipDeleteFont>;
using GpFamilyOwner = UniqueWith<Gdiplus::GpFontFamily, &gp::GdipDeleteFontFamily>;
using GpFormatOwner = UniqueWith<Gdiplus::GpStringFormat, &gp::GdipDeleteStringFormat>;
using GlobalMemory = UniqueWith<void, &GlobalFree>;

// A COM interface that drops its reference.
struct ComReleaser {
    void operator()(IUnknown* object) const { object->Release(); }
};
using StreamOwner = std::unique_ptr<IStream, ComReleaser>;

// The pixels of one block of an image as a premultiplied bitmap of their own.
struct ImageSlice {
    PixelBlock block;
    GpImageOwner bitmap;  // 32bpp premultiplied ARGB
};

// The pixels of one block of an image kept for drawing at their own size.
struct ImageSprite {
    PixelBlock block;
    Sprite sprite;
};

struct Image::Impl {
    // Resource images: the stream and its memory live with the image, so they go after it.
    GlobalMemory memory;
    StreamOwner stream;
    GpImageOwner image;
    // Made on first use and kept: the slices drawn so far, the edge attributes every draw
    // without opacity uses, the whole image premultiplied for copies.
    std::vector<ImageSlice> slices;
    std::vector<ImageSprite> sprites;
    GpAttributesOwner edges;
    std::vector<std::uint32_t> premultiplied;
};

struct Canvas::Target {
    GpImageOwner bitmap;  // over the canvas's pixels (32bpp premultiplied ARGB, no copy)
    GpGraphicsOwner graphics;
};

// One drawing operation on a canvas: its kept graphics (made on first use), back to no
// transformation when the operation ends. `get` is null for an invalid canvas.
class CanvasGraphics {
  public:
    explicit CanvasGraphics(Canvas& canvas);
    CanvasGraphics(const CanvasGraphics&) = delete;
    CanvasGraphics& operator=(const CanvasGraphics&) = delete;
    ~CanvasGraphics();
    Gdiplus::GpGraphics* get() const { return graphics_; }

  private:
    Gdiplus::GpGraphics* graphics_ = nullptr;
};

}  // namespace quelt::gfx

#pragma once
// GDI+ pieces shared by the Windows drawing backend: the flat API, owners of its objects, the
// image data and a graphics object drawing straight into a canvas's memory.
// Order matters: GDI+ needs the COM property types declared first.
#include <windows.h>

#include <objidl.h>

#include <gdiplus.h>

#include <memory>

#include "base/unique_with.h"
#include "platform/gfx/gfx.h"

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

struct Image::Impl {
    // Resource images: the stream and its memory live with the image, so they go after it.
    GlobalMemory memory;
    StreamOwner stream;
    GpImageOwner image;
};

// A GDI+ graphics over the canvas's pixels (32bpp premultiplied ARGB, no copy).
class CanvasGraphics {
  public:
    explicit CanvasGraphics(Canvas& canvas);
    Gdiplus::GpGraphics* get() const { return graphics_.get(); }

  private:
    GpImageOwner bitmap_;
    GpGraphicsOwner graphics_;
};

}  // namespace quelt::gfx

#pragma once
// GDI+ pieces shared by the Windows drawing backend: the flat API, the image data and a graphics
// object drawing straight into a canvas's memory.
// Order matters: GDI+ needs the COM property types declared first.
#include <windows.h>

#include <objidl.h>

#include <gdiplus.h>

#include "platform/gfx/gfx.h"

namespace quelt::gfx {

namespace gp = Gdiplus::DllExports;

struct Image::Impl {
    Impl() = default;
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;
    ~Impl();
    Gdiplus::GpImage* image = nullptr;
    IStream* stream = nullptr;  // resource images: the stream and its memory live with the image
    HGLOBAL memory = nullptr;
};

// A GDI+ graphics over the canvas's pixels (32bpp premultiplied ARGB, no copy).
class CanvasGraphics {
  public:
    explicit CanvasGraphics(Canvas& canvas);
    CanvasGraphics(const CanvasGraphics&) = delete;
    CanvasGraphics& operator=(const CanvasGraphics&) = delete;
    ~CanvasGraphics();
    Gdiplus::GpGraphics* get() const { return graphics_; }

  private:
    Gdiplus::GpBitmap* bitmap_ = nullptr;
    Gdiplus::GpGraphics* graphics_ = nullptr;
};

}  // namespace quelt::gfx

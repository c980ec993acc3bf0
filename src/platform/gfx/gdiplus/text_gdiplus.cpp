// Text on Windows: GDI+ string layout with a default string format.
#include "platform/gfx/gdiplus/gdiplus_common.h"
#include "platform/os/win32/wide_string.h"

namespace quelt::gfx {

namespace {

GpFamilyOwner CreateFamily(const std::string& name) {
    Gdiplus::GpFontFamily* family = nullptr;
    const std::wstring wide = win32::widen(name);
    if (gp::GdipCreateFontFamilyFromName(wide.c_str(), nullptr, &family) != Gdiplus::Ok) {
        return nullptr;
    }
    return GpFamilyOwner(family);
}

Gdiplus::StringAlignment Alignment(TextAlign align) {
    switch (align) {
        case TextAlign::Centre:
            return Gdiplus::StringAlignmentCenter;
        case TextAlign::Far:
            return Gdiplus::StringAlignmentFar;
        case TextAlign::Near:
            break;
    }
    return Gdiplus::StringAlignmentNear;
}

}  // namespace

bool fontFamilyExists(const std::string& family) {
    return CreateFamily(family) != nullptr;
}

int drawText(Canvas& canvas, const std::string& text, const RectF& layout, const TextStyle& style) {
    CanvasGraphics graphics(canvas);
    if (graphics.get() == nullptr) {
        return kInvalidParameter;
    }
    Gdiplus::GpStringFormat* format = nullptr;
    Gdiplus::GpStatus status = gp::GdipCreateStringFormat(0, LANG_NEUTRAL, &format);
    if (status != Gdiplus::Ok) {
        return static_cast<int>(status);
    }
    const GpFormatOwner formatOwner(format);
    GpFamilyOwner family = CreateFamily(style.fontFamily);
    if (family == nullptr) {
        family = CreateFamily("Arial");
    }
    if (family == nullptr) {
        return kFontFamilyNotFound;
    }
    const INT fontStyle =
        (style.bold ? Gdiplus::FontStyleBold : 0) | (style.italic ? Gdiplus::FontStyleItalic : 0);
    Gdiplus::GpFont* font = nullptr;
    status = gp::GdipCreateFont(family.get(), style.emPixels, fontStyle, Gdiplus::UnitPixel, &font);
    if (status != Gdiplus::Ok) {
        return static_cast<int>(status);
    }
    const GpFontOwner fontOwner(font);
    gp::GdipSetTextRenderingHint(graphics.get(), Gdiplus::TextRenderingHintSystemDefault);
    Gdiplus::GpSolidFill* brush = nullptr;
    status = gp::GdipCreateSolidFill(style.argb, &brush);
    if (status != Gdiplus::Ok) {
        return static_cast<int>(status);
    }
    const GpBrushOwner brushOwner(brush);
    gp::GdipSetStringFormatAlign(format, Alignment(style.align));
    gp::GdipSetStringFormatLineAlign(format, Gdiplus::StringAlignmentCenter);
    gp::GdipRotateWorldTransform(graphics.get(), style.angleDegrees, Gdiplus::MatrixOrderPrepend);
    const Gdiplus::RectF rect(layout.x, layout.y, layout.width, layout.height);
    const std::wstring wide = win32::widen(text);
    return static_cast<int>(gp::GdipDrawString(
        graphics.get(), wide.c_str(), static_cast<INT>(wide.size()), font, &rect, format, brush));
}

}  // namespace quelt::gfx

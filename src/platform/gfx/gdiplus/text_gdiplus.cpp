// Text on Windows: GDI+ string layout with a default string format.
#include "platform/gfx/gdiplus/gdiplus_common.h"
#include "platform/os/win32/wide_string.h"

namespace quelt::gfx {

namespace {

Gdiplus::GpFontFamily* CreateFamily(const std::string& name) {
    Gdiplus::GpFontFamily* family = nullptr;
    const std::wstring wide = win32::widen(name);
    if (gp::GdipCreateFontFamilyFromName(wide.c_str(), nullptr, &family) != Gdiplus::Ok) {
        return nullptr;
    }
    return family;
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

// Everything one text draw creates, deleted in reverse order.
struct TextObjects {
    Gdiplus::GpStringFormat* format = nullptr;
    Gdiplus::GpFontFamily* family = nullptr;
    Gdiplus::GpFont* font = nullptr;
    Gdiplus::GpSolidFill* brush = nullptr;
    TextObjects() = default;
    TextObjects(const TextObjects&) = delete;
    TextObjects& operator=(const TextObjects&) = delete;
    ~TextObjects() {
        if (brush != nullptr) {
            gp::GdipDeleteBrush(brush);
        }
        if (font != nullptr) {
            gp::GdipDeleteFont(font);
        }
        if (family != nullptr) {
            gp::GdipDeleteFontFamily(family);
        }
        if (format != nullptr) {
            gp::GdipDeleteStringFormat(format);
        }
    }
};

}  // namespace

bool fontFamilyExists(const std::string& family) {
    Gdiplus::GpFontFamily* created = CreateFamily(family);
    if (created == nullptr) {
        return false;
    }
    gp::GdipDeleteFontFamily(created);
    return true;
}

int drawText(Canvas& canvas, const std::string& text, const RectF& layout, const TextStyle& style) {
    CanvasGraphics graphics(canvas);
    if (graphics.get() == nullptr) {
        return kInvalidParameter;
    }
    TextObjects objects;
    Gdiplus::GpStatus status = gp::GdipCreateStringFormat(0, LANG_NEUTRAL, &objects.format);
    if (status != Gdiplus::Ok) {
        return static_cast<int>(status);
    }
    objects.family = CreateFamily(style.fontFamily);
    if (objects.family == nullptr) {
        objects.family = CreateFamily("Arial");
    }
    if (objects.family == nullptr) {
        return kFontFamilyNotFound;
    }
    const INT fontStyle =
        (style.bold ? Gdiplus::FontStyleBold : 0) | (style.italic ? Gdiplus::FontStyleItalic : 0);
    status = gp::GdipCreateFont(objects.family, style.emPixels, fontStyle, Gdiplus::UnitPixel,
                                &objects.font);
    if (status != Gdiplus::Ok) {
        return static_cast<int>(status);
    }
    gp::GdipSetTextRenderingHint(graphics.get(), Gdiplus::TextRenderingHintSystemDefault);
    status = gp::GdipCreateSolidFill(style.argb, &objects.brush);
    if (status != Gdiplus::Ok) {
        return static_cast<int>(status);
    }
    gp::GdipSetStringFormatAlign(objects.format, Alignment(style.align));
    gp::GdipSetStringFormatLineAlign(objects.format, Gdiplus::StringAlignmentCenter);
    gp::GdipRotateWorldTransform(graphics.get(), style.angleDegrees, Gdiplus::MatrixOrderPrepend);
    const Gdiplus::RectF rect(layout.x, layout.y, layout.width, layout.height);
    const std::wstring wide = win32::widen(text);
    return static_cast<int>(gp::GdipDrawString(graphics.get(), wide.c_str(),
                                               static_cast<INT>(wide.size()), objects.font, &rect,
                                               objects.format, objects.brush));
}

}  // namespace quelt::gfx

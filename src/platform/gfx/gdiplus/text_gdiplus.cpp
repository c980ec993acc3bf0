// Text on Windows: GDI+ string layout with a typographic string format.
#include <string>

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

// What a label draws with, kept from one draw to the next: its font, its string format, its
// brush and the text in UTF-16; redone when a draw asks for other text or style.
struct TextLayout::Impl {
    GpFamilyOwner family;
    GpFontOwner font;
    GpFormatOwner format;
    GpBrushOwner brush;
    std::uint32_t brushArgb = 0;
    std::wstring wide;
    std::string text;
    TextStyle style;
    int status = kOk;

    bool fits(const std::string& t, const TextStyle& s) const {
        return text == t && style.fontFamily == s.fontFamily && style.emPixels == s.emPixels &&
               style.bold == s.bold && style.italic == s.italic && style.align == s.align;
    }
    void prepare(const std::string& t, const TextStyle& s);
};

void TextLayout::ImplDeleter::operator()(Impl* impl) const {
    delete impl;
}

void TextLayout::Impl::prepare(const std::string& t, const TextStyle& s) {
    text = t;
    style = s;
    wide = win32::widen(t);
    font.reset();
    format.reset();
    family = CreateFamily(s.fontFamily);
    if (family == nullptr) {
        family = CreateFamily("Arial");
    }
    if (family == nullptr) {
        status = kFontFamilyNotFound;
        return;
    }
    const INT fontStyle =
        (s.bold ? Gdiplus::FontStyleBold : 0) | (s.italic ? Gdiplus::FontStyleItalic : 0);
    Gdiplus::GpFont* made = nullptr;
    status = gp::GdipCreateFont(family.get(), s.emPixels, fontStyle, Gdiplus::UnitPixel, &made);
    if (status != Gdiplus::Ok) {
        return;
    }
    font.reset(made);
    // The typographic format sets no padding around the text (the default one adds about a sixth
    // of an em on each side, which wraps "COM: 12" in a 50 pixel label). Its flags are cleared
    // so that lines wrap and are clipped to the rectangle as with the default format.
    Gdiplus::GpStringFormat* typographic = nullptr;
    Gdiplus::GpStringFormat* clone = nullptr;
    status = gp::GdipStringFormatGetGenericTypographic(&typographic);
    if (status == Gdiplus::Ok) {
        status = gp::GdipCloneStringFormat(typographic, &clone);
    }
    if (status != Gdiplus::Ok) {
        return;
    }
    format.reset(clone);
    gp::GdipSetStringFormatFlags(clone, 0);
    gp::GdipSetStringFormatTrimming(clone, Gdiplus::StringTrimmingCharacter);
    gp::GdipSetStringFormatAlign(clone, Alignment(s.align));
    gp::GdipSetStringFormatLineAlign(clone, Gdiplus::StringAlignmentCenter);
}

int TextLayout::drawLaidOut(Canvas& canvas, const std::string& text, const RectF& layout,
                            const TextStyle& style) {
    const CanvasGraphics graphics(canvas);
    if (graphics.get() == nullptr) {
        return kInvalidParameter;
    }
    if (impl_ == nullptr) {
        impl_.reset(new Impl());
    }
    Impl& kept = *impl_;
    if (kept.font == nullptr || !kept.fits(text, style)) {
        kept.prepare(text, style);
    }
    if (kept.font == nullptr || kept.format == nullptr) {
        return kept.status;
    }
    if (kept.brush == nullptr || kept.brushArgb != style.argb) {
        Gdiplus::GpSolidFill* brush = nullptr;
        const Gdiplus::GpStatus status = gp::GdipCreateSolidFill(style.argb, &brush);
        if (status != Gdiplus::Ok) {
            return static_cast<int>(status);
        }
        kept.brush.reset(brush);
        kept.brushArgb = style.argb;
    }
    gp::GdipSetTextRenderingHint(graphics.get(), Gdiplus::TextRenderingHintSystemDefault);
    gp::GdipRotateWorldTransform(graphics.get(), style.angleDegrees, Gdiplus::MatrixOrderPrepend);
    const Gdiplus::RectF rect(layout.x, layout.y, layout.width, layout.height);
    return static_cast<int>(gp::GdipDrawString(graphics.get(), kept.wide.c_str(),
                                               static_cast<INT>(kept.wide.size()), kept.font.get(),
                                               &rect, kept.format.get(), kept.brush.get()));
}

}  // namespace quelt::gfx

// Text on Linux: pango lays the text out, cairo draws it into the canvas. Font families are found
// through fontconfig, which maps "Arial" to a metric-compatible face.
#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>
#include <set>
#include <string>

#include "platform/gfx/cairo/image_impl.h"
#include "platform/gfx/gfx.h"

namespace quelt::gfx {

namespace {

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
    return text;
}

// Family names installed on this system, lower case; read once.
const std::set<std::string>& installedFamilies() {
    static std::set<std::string> families;
    static std::once_flag once;
    std::call_once(once, [] {
        PangoFontMap* map = pango_cairo_font_map_get_default();
        PangoFontFamily** list = nullptr;
        int count = 0;
        pango_font_map_list_families(map, &list, &count);
        const GMemory<PangoFontFamily*> owned(list);
        for (int i = 0; i < count; ++i) {
            families.insert(lowered(pango_font_family_get_name(list[i])));
        }
    });
    return families;
}

PangoAlignment pangoAlignment(TextAlign align) {
    switch (align) {
        case TextAlign::Centre:
            return PANGO_ALIGN_CENTER;
        case TextAlign::Far:
            return PANGO_ALIGN_RIGHT;
        case TextAlign::Near:
            break;
    }
    return PANGO_ALIGN_LEFT;
}

}  // namespace

bool fontFamilyExists(const std::string& family) {
    return installedFamilies().count(lowered(family)) != 0;
}

// A pango layout with what it was made for; redone when a draw asks for other text or style.
struct TextLayout::Impl {
    GObjectOwner<PangoContext> context;
    GObjectOwner<PangoLayout> layout;
    std::string text;
    TextStyle style;
    float width = 0;
    int height = 0;           // of the laid-out block, pixels
    int measured = 0;         // 1 once `height` is known for `matrix`
    cairo_matrix_t matrix{};  // the context's transformation when measured

    bool fits(const std::string& t, const RectF& rect, const TextStyle& s) const {
        return text == t && width == rect.width && style.fontFamily == s.fontFamily &&
               style.emPixels == s.emPixels && style.bold == s.bold && style.italic == s.italic &&
               style.align == s.align;
    }
    void prepare(cairo_t* cr, const std::string& t, const RectF& rect, const TextStyle& s);
};

void TextLayout::ImplDeleter::operator()(Impl* impl) const {
    delete impl;
}

void TextLayout::Impl::prepare(cairo_t* cr, const std::string& t, const RectF& rect,
                               const TextStyle& s) {
    context.reset(pango_cairo_create_context(cr));
    layout.reset(pango_layout_new(context.get()));
    PangoLayout* pango = layout.get();
    const PangoFont font(pango_font_description_new());
    pango_font_description_set_family(
        font.get(), fontFamilyExists(s.fontFamily) ? s.fontFamily.c_str() : "Arial");
    pango_font_description_set_absolute_size(font.get(), s.emPixels * PANGO_SCALE);
    pango_font_description_set_weight(font.get(), s.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(font.get(),
                                     s.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    pango_layout_set_font_description(pango, font.get());
    // A rectangle without width lays the text out on unbounded lines from its left edge.
    if (rect.width > 0) {
        pango_layout_set_width(pango, static_cast<int>(std::lround(rect.width * PANGO_SCALE)));
        pango_layout_set_wrap(pango, PANGO_WRAP_WORD_CHAR);
    }
    pango_layout_set_alignment(pango, pangoAlignment(s.align));
    pango_layout_set_text(pango, t.c_str(), static_cast<int>(t.size()));
    text = t;
    style = s;
    width = rect.width;
    measured = 0;
}

int TextLayout::drawLaidOut(Canvas& canvas, const std::string& text, const RectF& layout,
                            const TextStyle& style) {
    const CanvasContext context(canvas);
    cairo_t* cr = context.get();
    if (cr == nullptr || !(style.emPixels > 0)) {
        return kInvalidParameter;
    }
    cairo_rotate(cr, style.angleDegrees * M_PI / 180.0);
    if (impl_ == nullptr) {
        impl_.reset(new Impl());
    }
    Impl& kept = *impl_;
    if (kept.layout == nullptr || !kept.fits(text, layout, style)) {
        kept.prepare(cr, text, layout, style);
    }
    // Measured again only when drawn under another transformation (updating the pango context
    // invalidates its layouts even when nothing changed).
    cairo_matrix_t matrix;
    cairo_get_matrix(cr, &matrix);
    if (kept.measured == 0 || std::memcmp(&matrix, &kept.matrix, sizeof matrix) != 0) {
        pango_cairo_update_layout(cr, kept.layout.get());
        int textWidth = 0;
        pango_layout_get_pixel_size(kept.layout.get(), &textWidth, &kept.height);
        kept.matrix = matrix;
        kept.measured = 1;
    }
    const double top = layout.y + (layout.height - kept.height) / 2.0;
    if (layout.width > 0 && layout.height > 0) {
        cairo_rectangle(cr, layout.x, layout.y, layout.width, layout.height);
        cairo_clip(cr);
    }
    const std::uint32_t argb = style.argb;
    cairo_set_source_rgba(cr, ((argb >> 16) & 0xFF) / 255.0, ((argb >> 8) & 0xFF) / 255.0,
                          (argb & 0xFF) / 255.0, ((argb >> 24) & 0xFF) / 255.0);
    cairo_move_to(cr, layout.x, top);
    pango_cairo_show_layout(cr, kept.layout.get());
    return kOk;
}

}  // namespace quelt::gfx

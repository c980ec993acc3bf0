// Text on Linux: pango lays the text out, cairo draws it into the canvas. Font families are found
// through fontconfig, which maps "Arial" to a metric-compatible face.
#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
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

int drawText(Canvas& canvas, const std::string& text, const RectF& layout, const TextStyle& style) {
    const CanvasContext context(canvas);
    cairo_t* cr = context.get();
    if (cr == nullptr || !(style.emPixels > 0)) {
        return kInvalidParameter;
    }
    cairo_rotate(cr, style.angleDegrees * M_PI / 180.0);

    const GObjectOwner<PangoLayout> owner(pango_cairo_create_layout(cr));
    PangoLayout* pango = owner.get();
    const PangoFont font(pango_font_description_new());
    pango_font_description_set_family(
        font.get(), fontFamilyExists(style.fontFamily) ? style.fontFamily.c_str() : "Arial");
    pango_font_description_set_absolute_size(font.get(), style.emPixels * PANGO_SCALE);
    pango_font_description_set_weight(font.get(),
                                      style.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(font.get(),
                                     style.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    pango_layout_set_font_description(pango, font.get());

    // A rectangle without width lays the text out on unbounded lines from its left edge.
    const bool bounded = layout.width > 0;
    if (bounded) {
        pango_layout_set_width(pango, static_cast<int>(std::lround(layout.width * PANGO_SCALE)));
        pango_layout_set_wrap(pango, PANGO_WRAP_WORD_CHAR);
    }
    pango_layout_set_alignment(pango, pangoAlignment(style.align));
    pango_layout_set_text(pango, text.c_str(), static_cast<int>(text.size()));

    int textWidth = 0;
    int textHeight = 0;
    pango_layout_get_pixel_size(pango, &textWidth, &textHeight);
    (void)textWidth;
    const double top = layout.y + (layout.height - textHeight) / 2.0;

    if (bounded && layout.height > 0) {
        cairo_rectangle(cr, layout.x, layout.y, layout.width, layout.height);
        cairo_clip(cr);
    }
    const std::uint32_t argb = style.argb;
    cairo_set_source_rgba(cr, ((argb >> 16) & 0xFF) / 255.0, ((argb >> 8) & 0xFF) / 255.0,
                          (argb & 0xFF) / 255.0, ((argb >> 24) & 0xFF) / 255.0);
    cairo_move_to(cr, layout.x, top);
    pango_cairo_show_layout(cr, pango);
    return kOk;
}

}  // namespace quelt::gfx

// The platform-free half of text drawing: a label's ink kept between repaints and blended in
// place, premultiplied source-over with the same rounding as the backends' image compositing.
#include <cmath>
#include <string>

#include "platform/gfx/gfx.h"
#include "platform/gfx/sprite.h"

namespace quelt::gfx {

struct TextLayout::Ink {
    std::string text;
    TextStyle style;
    RectF layout;
    Sprite pixels;      // the ink, cut to its box; empty when the label draws nothing
    bool kept = false;  // drawn for the fields above

    bool fits(const std::string& t, const RectF& r, const TextStyle& s) const {
        // The fractional position stays: glyph positions round the same way.
        return kept && text == t && r.width == layout.width && r.height == layout.height &&
               r.x - std::floor(r.x) == layout.x - std::floor(layout.x) &&
               r.y - std::floor(r.y) == layout.y - std::floor(layout.y) &&
               s.fontFamily == style.fontFamily && s.emPixels == style.emPixels &&
               s.bold == style.bold && s.italic == style.italic && s.align == style.align &&
               s.argb == style.argb;
    }
};

void TextLayout::InkDeleter::operator()(Ink* ink) const {
    delete ink;
}

int TextLayout::draw(Canvas& canvas, const std::string& text, const RectF& layout,
                     const TextStyle& style) {
    const int width = static_cast<int>(std::ceil(layout.width));
    const int height = static_cast<int>(std::ceil(layout.height));
    if (!canvas.valid() || !(style.emPixels > 0) || style.angleDegrees != 0 || width <= 0 ||
        height <= 0 || width > canvas.width() || height > canvas.height()) {
        return drawLaidOut(canvas, text, layout, style);
    }
    if (ink_ == nullptr) {
        ink_.reset(new Ink());
    }
    Ink& ink = *ink_;
    if (!ink.fits(text, layout, style)) {
        Canvas full;
        if (!full.create(width, height)) {
            return drawLaidOut(canvas, text, layout, style);
        }
        const RectF local{layout.x - std::floor(layout.x), layout.y - std::floor(layout.y),
                          layout.width, layout.height};
        const int status = drawLaidOut(full, text, local, style);
        if (status != kOk) {
            ink.kept = false;
            return status;
        }
        ink.pixels.assign(full.data(), full.stride(), full.width(), full.height());
        ink.text = text;
        ink.style = style;
        ink.layout = layout;
        ink.kept = true;
    }
    ink.pixels.blendOnto(canvas, static_cast<int>(std::floor(layout.x)),
                         static_cast<int>(std::floor(layout.y)));
    return kOk;
}

int drawText(Canvas& canvas, const std::string& text, const RectF& layout, const TextStyle& style) {
    TextLayout once;
    return once.drawLaidOut(canvas, text, layout, style);
}

}  // namespace quelt::gfx

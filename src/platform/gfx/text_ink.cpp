// The platform-free half of text drawing: a label's ink kept between repaints and blended in
// place, premultiplied source-over with the same rounding as the backends' image compositing.
#include <cmath>
#include <cstring>
#include <string>

#include "platform/gfx/gfx.h"

namespace quelt::gfx {

struct TextLayout::Ink {
    std::string text;
    TextStyle style;
    RectF layout;
    Canvas pixels;  // the ink's bounding box; invalid when the label draws nothing
    int left = 0;   // of the box in the label's rectangle
    int top = 0;
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

namespace {

// x * a / 255, rounded.
inline std::uint32_t Scale(std::uint32_t x, std::uint32_t a) {
    const std::uint32_t t = x * a + 0x80u;
    return ((t >> 8) + t) >> 8;
}

// Cuts `full` down to the box of its pixels with nonzero alpha.
void KeepInkBox(const Canvas& full, Canvas& box, int& left, int& top) {
    int x0 = full.width();
    int y0 = full.height();
    int x1 = 0;
    int y1 = 0;
    for (int y = 0; y < full.height(); ++y) {
        for (int x = 0; x < full.width(); ++x) {
            if ((full.pixel(x, y) >> 24) != 0) {
                x0 = x < x0 ? x : x0;
                x1 = x + 1 > x1 ? x + 1 : x1;
                y0 = y < y0 ? y : y0;
                y1 = y + 1;
            }
        }
    }
    box.reset();
    if (x1 <= x0 || !box.create(x1 - x0, y1 - y0)) {
        return;
    }
    for (int y = y0; y < y1; ++y) {
        std::memcpy(box.data() + static_cast<std::size_t>(y - y0) * box.stride(),
                    full.data() + static_cast<std::size_t>(y) * full.stride() +
                        static_cast<std::size_t>(x0) * 4,
                    static_cast<std::size_t>(x1 - x0) * 4);
    }
    left = x0;
    top = y0;
}

// Source-over of `ink` onto the canvas with its top-left corner at (x, y), clipped to the canvas.
void Blend(Canvas& canvas, const Canvas& ink, int x, int y) {
    for (int row = 0; row < ink.height(); ++row) {
        const int cy = y + row;
        if (cy < 0 || cy >= canvas.height()) {
            continue;
        }
        const auto* in = reinterpret_cast<const std::uint32_t*>(
            ink.data() + static_cast<std::size_t>(row) * ink.stride());
        auto* out = reinterpret_cast<std::uint32_t*>(canvas.data() + static_cast<std::size_t>(cy) *
                                                                         canvas.stride());
        for (int col = 0; col < ink.width(); ++col) {
            const int cx = x + col;
            const std::uint32_t s = in[col];
            if (s == 0 || cx < 0 || cx >= canvas.width()) {
                continue;
            }
            const std::uint32_t keep = 255u - (s >> 24);
            const std::uint32_t d = out[cx];
            std::uint32_t result = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                const std::uint32_t c = ((s >> shift) & 0xFFu) + Scale((d >> shift) & 0xFFu, keep);
                result |= (c > 255u ? 255u : c) << shift;
            }
            out[cx] = result;
        }
    }
}

}  // namespace

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
        KeepInkBox(full, ink.pixels, ink.left, ink.top);
        ink.text = text;
        ink.style = style;
        ink.layout = layout;
        ink.kept = true;
    }
    if (ink.pixels.valid()) {
        Blend(canvas, ink.pixels, static_cast<int>(std::floor(layout.x)) + ink.left,
              static_cast<int>(std::floor(layout.y)) + ink.top);
    }
    return kOk;
}

int drawText(Canvas& canvas, const std::string& text, const RectF& layout, const TextStyle& style) {
    TextLayout once;
    return once.drawLaidOut(canvas, text, layout, style);
}

}  // namespace quelt::gfx

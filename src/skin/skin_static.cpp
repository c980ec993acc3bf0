#include "skin/skin_static.h"

#include <cstdlib>

#include "skin/skin_painter.h"

namespace quelt {

namespace {
constexpr int kStripSlices = 2;
}

int SkinStaticImage::Load() {
    return LoadSkinImage(image, imagePath);
}

void SkinStaticImage::Draw(gfx::Canvas* dc) {
    DrawStateSlice(dc, *this, kStripSlices);
}

std::uint32_t SkinText::BrushArgb() const {
    const std::uint8_t a = alpha == 255 ? std::uint8_t{254} : alpha;
    return ColourToArgb(disabled != 0 ? kDisabledTextColour : colour, a);
}

void SkinText::Draw(gfx::Canvas* dc) const {
    if (visible == 0 || dc == nullptr) {
        return;
    }
    gfx::TextStyle style;
    style.fontFamily = fontName.empty() ? "Arial" : fontName;
    style.emPixels = static_cast<float>(fontSize);
    style.bold = bold != 0;
    style.italic = italic != 0;
    style.align = align == 1   ? gfx::TextAlign::Centre
                  : align == 2 ? gfx::TextAlign::Far
                               : gfx::TextAlign::Near;
    style.angleDegrees = static_cast<float>(angle % 360u);  // exact for any stored angle
    style.argb = BrushArgb();
    layout.draw(*dc, text, SliceDest(rect), style);
}

}  // namespace quelt

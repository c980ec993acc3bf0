#pragma once
// Controls that only show program state: a picture with a normal and a disabled look, and a
// text label. Neither is ever hit-tested.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/gfx/gfx.h"
#include "skin/skin_controls.h"
#include "skin/skin_image.h"
#include "skin/skin_rect.h"

namespace quelt {

struct SkinStaticImage {
    std::string imagePath{};
    SkinRect rect{};
    std::int32_t visible = 0;
    SkinImageSlot image{};   // two slices: normal, disabled
    ControlState state = 0;  // 0 normal, 1 disabled

    void Assign(const SkinStaticImage& descriptor) { *this = descriptor; }
    int Load();
    void Draw(gfx::Canvas* dc);
    void Release() { image.reset(); }
};

struct SkinText {
    std::string text{};  // UTF-8; "\n" breaks lines
    SkinRect rect{};
    std::string fontName = "Arial";  // a family that does not exist falls back to Arial
    std::uint32_t fontSize = 0;      // em height in pixels
    std::int32_t bold = 0;
    std::int32_t italic = 0;
    std::int32_t align = 0;    // 0 near, 1 centre, 2 far; other values near
    std::uint32_t colour = 0;  // 0x00BBGGRR
    std::uint32_t angle = 0;   // degrees, about the canvas origin
    std::uint8_t alpha = 0;
    std::int32_t visible = 0;
    std::int32_t disabled = 0;  // drawn in grey when set
    // The laid-out text, kept between repaints; a copy or an assigned label lays out afresh.
    mutable gfx::TextLayout layout{};

    void Assign(const SkinText& descriptor) { *this = descriptor; }
    void Draw(gfx::Canvas* dc) const;
    // The brush the label is drawn with (0xAARRGGBB): its colour, or grey (150, 150, 150) when
    // disabled, with its alpha, 255 becoming 254.
    std::uint32_t BrushArgb() const;
    // Font style bits: 1 bold, 2 italic.
    int FontStyle() const { return (bold != 0 ? 1 : 0) | (italic != 0 ? 2 : 0); }
};

// The disabled grey of labels, as 0x00BBGGRR.
inline constexpr std::uint32_t kDisabledTextColour = 0x00969696;

}  // namespace quelt

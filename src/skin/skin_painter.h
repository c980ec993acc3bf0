#pragma once
// The drawing object every skinned window holds: starts and stops the drawing library for its
// window and draws whole image files, gradients and texts onto the window's canvas.
#include <cstdint>
#include <string>

#include "platform/gfx/gfx.h"
#include "skin/skin_image.h"
#include "skin/skin_rect.h"

namespace quelt {

// Alpha scale for an opacity request: a clamped to 255, p = a * 100 / 255, (100 - (100 - p)) / 100.
float OpacityScale(std::uint32_t alpha);
// Brush alpha of a painter text: 254 for 255 and above, else the low byte.
std::uint8_t TextBrushAlpha(std::int32_t alpha);
// 0x00BBGGRR colour (red in the low byte) with an alpha, as 0xAARRGGBB.
std::uint32_t ColourToArgb(std::uint32_t colour, std::uint8_t alpha);

class SkinPainter {
  public:
    SkinPainter();
    SkinPainter(const SkinPainter&) = delete;
    SkinPainter& operator=(const SkinPainter&) = delete;
    ~SkinPainter();

    void Start();
    void Shutdown();
    bool started() const { return started_ != 0; }

    // Draws the whole image file stretched into (x, y, width, height) at opacity alpha / 255.
    int DrawImageFile(const std::string& path, gfx::Canvas* dc, std::int32_t x, std::int32_t y,
                      std::int32_t width, std::int32_t height, std::uint32_t alpha);
    // The same for an image already decoded.
    int DrawImage(SkinImage& image, gfx::Canvas* dc, std::int32_t x, std::int32_t y,
                  std::int32_t width, std::int32_t height, std::uint32_t alpha);
    // Horizontal gradient from colour1 at the left edge to colour2 at the right edge (both
    // 0x00BBGGRR, drawn with alpha 254).
    void FillGradient(gfx::Canvas* dc, std::uint32_t colour1, std::uint32_t colour2,
                      std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom);
    // Sets `out` to (0, 0, width, height) of the image file, (0, 0, 0, 0) when undecodable.
    int GetImageSize(const std::string& path, gfx::Canvas* dc, SkinRect& out);
    // Draws the text in the rectangle (align 0 near, 1 centre, 2 far; centred vertically),
    // rotated by angle degrees about the canvas origin.
    int DrawText(gfx::Canvas* dc, const std::string& text, std::int32_t bold, std::int32_t size,
                 std::uint32_t colour, std::int32_t alpha, std::int32_t angle, std::int32_t align,
                 const std::string& fontName, std::int32_t left, std::int32_t top,
                 std::int32_t right, std::int32_t bottom);

    // Alpha scale applied to the next image draw (entry [3][3] of the colour matrix).
    float alphaScale() const { return colourMatrix_[3][3]; }

  private:
    void ApplyOpacity(std::uint32_t alpha);

    std::uintptr_t token_ = 0;
    std::int32_t started_ = 0;
    float colourMatrix_[5][5] = {};
};

}  // namespace quelt

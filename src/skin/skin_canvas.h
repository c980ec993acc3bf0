#pragma once
// The drawing half of a skinned window: its painter and the off-screen canvas that every repaint
// clears, covers with the background image and hands to the window for presenting. The window
// layer shows `surface` (premultiplied ARGB32) at the size of `windowRect`.
// The background image is decoded once per path and kept: the window repaints on every pointer
// move over a slider, and decoding a full-window image each time costs tens of milliseconds.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/gfx/gfx.h"
#include "skin/skin_painter.h"
#include "skin/skin_rect.h"

namespace quelt {

class SkinCanvas {
  public:
    // Starts the painter.
    SkinCanvas();
    SkinCanvas(const SkinCanvas&) = delete;
    SkinCanvas& operator=(const SkinCanvas&) = delete;
    // Frees the canvas, clears `composed` and shuts the painter down.
    ~SkinCanvas();

    // Prepares the canvas for a background image: with width and height both nonzero the canvas
    // takes that size, with 0 it takes the image's size. Returns 1, or 0 when neither gives a
    // size (the image cannot be decoded, or is smaller than `requiredSize`); then there is no
    // canvas.
    int SetBackground(std::int32_t width, std::int32_t height, const std::string& path);
    // Starts a composition: clears the canvas to transparent and draws the image file at
    // (x, y), with the image's own width/height where 0 is given, at opacity alpha.
    void PaintBackground(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                         std::uint32_t alpha, const std::string& path);
    // Horizontal gradient (0x00BBGGRR colours) over the rectangle.
    void FillGradient(std::uint32_t colour1, std::uint32_t colour2, const SkinRect& rect);

    // What controls draw on; null while there is no canvas.
    gfx::Canvas* dc() { return created != 0 ? &surface : nullptr; }
    // Counts the background images painted: it changes when a composition starts with another
    // image (or the same file decoded again) than the one before, so the frame's outline may
    // differ.
    std::uint32_t paintedBackground() const { return painted_; }

    SkinPainter painter;
    gfx::Canvas surface;
    std::int32_t created = 0;
    SkinRect canvasRect;
    std::int32_t composed = 0;
    SkinRect imageRect;
    SkinRect windowRect;
    std::string backgroundPath;
    // The smallest background the window's layout fits on (right and bottom are the width and
    // height). A background image smaller in either direction is refused as if it could not be
    // decoded: the window would be too small for what is drawn on it.
    SkinRect requiredSize;

  private:
    // The decoded background for `path`, decoding it when the path changed or the last decode
    // failed.
    SkinImage& Background(const std::string& path);
    void Create(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height);
    void Destroy();

    std::unique_ptr<SkinImage> background_;
    std::string backgroundSource_;
    std::uint32_t decoded_ = 0;  // background decodes so far
    std::uint32_t painted_ = 0;  // the decode last painted
};

}  // namespace quelt

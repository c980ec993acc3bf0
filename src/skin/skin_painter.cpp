#include "skin/skin_painter.h"

#include <algorithm>

namespace quelt {

float OpacityScale(std::uint32_t alpha) {
    const std::uint32_t a = std::min<std::uint32_t>(alpha, 255u);
    const float p = static_cast<float>(a) * 100.0f / 255.0f;
    return (100.0f - (100.0f - p)) / 100.0f;
}

std::uint8_t TextBrushAlpha(std::int32_t alpha) {
    return alpha >= 255 ? std::uint8_t{254} : static_cast<std::uint8_t>(alpha & 0xFF);
}

std::uint32_t ColourToArgb(std::uint32_t colour, std::uint8_t alpha) {
    const std::uint32_t red = colour & 0xFFu;
    const std::uint32_t green = (colour >> 8) & 0xFFu;
    const std::uint32_t blue = (colour >> 16) & 0xFFu;
    return (std::uint32_t{alpha} << 24) | (red << 16) | (green << 8) | blue;
}

SkinPainter::SkinPainter() {
    for (int i = 0; i < 5; ++i) {
        colourMatrix_[i][i] = 1.0f;
    }
}

SkinPainter::~SkinPainter() {
    Shutdown();
}

void SkinPainter::Start() {
    if (started_ != 0) {
        return;
    }
    token_ = gfx::startup();
    started_ = 1;
}

void SkinPainter::Shutdown() {
    if (started_ == 0) {
        return;
    }
    gfx::shutdown(token_);
    token_ = 0;
    started_ = 0;
}

void SkinPainter::ApplyOpacity(std::uint32_t alpha) {
    colourMatrix_[3][3] = OpacityScale(alpha);
}

int SkinPainter::DrawImageFile(const std::string& path, gfx::Canvas* dc, std::int32_t x,
                               std::int32_t y, std::int32_t width, std::int32_t height,
                               std::uint32_t alpha) {
    if (started_ == 0) {
        return gfx::kNotStarted;
    }
    const auto image = SkinImage::FromFile(path);
    return DrawImage(*image, dc, x, y, width, height, alpha);
}

int SkinPainter::DrawImage(SkinImage& image, gfx::Canvas* dc, std::int32_t x, std::int32_t y,
                           std::int32_t width, std::int32_t height, std::uint32_t alpha) {
    if (started_ == 0) {
        return gfx::kNotStarted;
    }
    if (dc == nullptr) {
        return gfx::kInvalidParameter;
    }
    ApplyOpacity(alpha);
    const std::uint32_t w = image.Width();
    const std::uint32_t h = image.Height();
    if (w == 0) {
        return image.lastStatus();
    }
    return gfx::drawImage(*dc, image.native(),
                          {0.0f, 0.0f, static_cast<float>(w), static_cast<float>(h)},
                          {static_cast<float>(x), static_cast<float>(y), static_cast<float>(width),
                           static_cast<float>(height)},
                          colourMatrix_[3][3]);
}

void SkinPainter::FillGradient(gfx::Canvas* dc, std::uint32_t colour1, std::uint32_t colour2,
                               std::int32_t left, std::int32_t top, std::int32_t right,
                               std::int32_t bottom) {
    if (started_ == 0 || dc == nullptr) {
        return;
    }
    gfx::fillGradient(*dc, left, top, right, bottom, ColourToArgb(colour1, 254),
                      ColourToArgb(colour2, 254));
}

int SkinPainter::GetImageSize(const std::string& path, gfx::Canvas* /*dc*/, SkinRect& out) {
    if (started_ == 0) {
        return gfx::kNotStarted;
    }
    const auto image = SkinImage::FromFile(path);
    out = {0, 0, static_cast<std::int32_t>(image->Width()),
           static_cast<std::int32_t>(image->Height())};
    return image->lastStatus();
}

int SkinPainter::DrawText(gfx::Canvas* dc, const std::string& text, std::int32_t bold,
                          std::int32_t size, std::uint32_t colour, std::int32_t alpha,
                          std::int32_t angle, std::int32_t align, const std::string& fontName,
                          std::int32_t left, std::int32_t top, std::int32_t right,
                          std::int32_t bottom) {
    if (started_ == 0) {
        return gfx::kNotStarted;
    }
    if (dc == nullptr) {
        return gfx::kInvalidParameter;
    }
    gfx::TextStyle style;
    style.fontFamily = fontName;
    style.emPixels = static_cast<float>(size);
    style.bold = bold != 0;
    style.align = align == 1   ? gfx::TextAlign::Centre
                  : align == 2 ? gfx::TextAlign::Far
                               : gfx::TextAlign::Near;
    style.angleDegrees = static_cast<float>(angle);
    style.argb = ColourToArgb(colour, TextBrushAlpha(alpha));
    const gfx::RectF layout{static_cast<float>(left), static_cast<float>(top),
                            static_cast<float>(right - left), static_cast<float>(bottom - top)};
    return gfx::drawText(*dc, text, layout, style);
}

}  // namespace quelt

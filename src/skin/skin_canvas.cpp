#include "skin/skin_canvas.h"

namespace quelt {

SkinCanvas::SkinCanvas() {
    painter.Start();
}

SkinCanvas::~SkinCanvas() {
    Destroy();
    composed = 0;
    painter.Shutdown();
}

void SkinCanvas::Destroy() {
    surface.reset();
    created = 0;
}

void SkinCanvas::Create(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) {
    canvasRect = {x, y, x + width, y + height};
    if (created == 0 && surface.create(width, height)) {
        created = 1;
    }
}

SkinImage& SkinCanvas::Background(const std::string& path) {
    if (!background_ || backgroundSource_ != path || background_->Width() == 0) {
        background_ = SkinImage::FromFile(path);
        backgroundSource_ = path;
        ++decoded_;
    }
    return *background_;
}

int SkinCanvas::SetBackground(std::int32_t width, std::int32_t height, const std::string& path) {
    Destroy();
    background_.reset();  // measure the file as it is now
    SkinRect measured;
    if (painter.started()) {
        SkinImage& image = Background(path);
        measured = {0, 0, static_cast<std::int32_t>(image.Width()),
                    static_cast<std::int32_t>(image.Height())};
        if (measured.right < requiredSize.right || measured.bottom < requiredSize.bottom) {
            measured = {};
        }
    }
    backgroundPath = path;
    imageRect = measured;
    if (width != 0 && height != 0) {
        Create(0, 0, width, height);
        windowRect = {0, 0, width, height};
        composed = 1;
        return 1;
    }
    if (imageRect.right != 0 && imageRect.bottom != 0) {
        Create(0, 0, imageRect.right, imageRect.bottom);
        windowRect = imageRect;
        composed = 1;
        return 1;
    }
    composed = 0;
    return 0;
}

void SkinCanvas::PaintBackground(std::int32_t x, std::int32_t y, std::int32_t width,
                                 std::int32_t height, std::uint32_t alpha,
                                 const std::string& path) {
    if (composed == 0 || created == 0) {
        return;
    }
    backgroundPath = path;
    if (!painter.started()) {
        surface.clear();
        return;
    }
    SkinImage& image = Background(path);
    painted_ = decoded_;
    imageRect = {0, 0, static_cast<std::int32_t>(image.Width()),
                 static_cast<std::int32_t>(image.Height())};
    const std::int32_t drawnWidth = width != 0 ? width : imageRect.right;
    const std::int32_t drawnHeight = height != 0 ? height : imageRect.bottom;
    // An opaque draw covering the whole canvas leaves what a copy of the image leaves.
    if (x == 0 && y == 0 && alpha >= 255 && drawnWidth == surface.width() &&
        drawnHeight == surface.height() && gfx::copyImage(surface, image.native()) == gfx::kOk) {
        return;
    }
    surface.clear();
    painter.DrawImage(image, &surface, x, y, drawnWidth, drawnHeight, alpha);
}

void SkinCanvas::FillGradient(std::uint32_t colour1, std::uint32_t colour2, const SkinRect& rect) {
    painter.FillGradient(dc(), colour1, colour2, rect.left, rect.top, rect.right, rect.bottom);
}

}  // namespace quelt

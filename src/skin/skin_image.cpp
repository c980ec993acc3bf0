#include "skin/skin_image.h"

#include <cstdlib>

namespace quelt {

std::unique_ptr<SkinImage> SkinImage::FromFile(const std::string& path) {
    auto image = std::make_unique<SkinImage>();
    image->native_ = gfx::Image::fromFile(path);
    image->lastStatus_ = image->native_.lastStatus();
    return image;
}

std::unique_ptr<SkinImage> SkinImage::FromResource(int resourceId) {
    auto image = std::make_unique<SkinImage>();
    image->native_ = gfx::Image::fromResource(resourceId);
    image->lastStatus_ = image->native_.lastStatus();
    return image;
}

std::uint32_t SkinImage::Width() {
    if (!native_.valid()) {
        lastStatus_ = lastStatus_ != gfx::kOk ? lastStatus_ : gfx::kInvalidParameter;
        return 0;
    }
    return native_.width();
}

std::uint32_t SkinImage::Height() {
    if (!native_.valid()) {
        lastStatus_ = lastStatus_ != gfx::kOk ? lastStatus_ : gfx::kInvalidParameter;
        return 0;
    }
    return native_.height();
}

gfx::RectF SliceSource(std::uint32_t width, std::uint32_t height, int count, int index) {
    const std::uint32_t n = count > 0 ? static_cast<std::uint32_t>(count) : 1u;
    return {static_cast<float>(static_cast<std::uint32_t>(index) * (width / n)), 0.0f,
            static_cast<float>(width) / static_cast<float>(n), static_cast<float>(height)};
}

gfx::RectF SliceDest(const SkinRect& rect) {
    return {static_cast<float>(rect.left), static_cast<float>(rect.top),
            static_cast<float>(std::abs(rect.right - rect.left)),
            static_cast<float>(std::abs(rect.bottom - rect.top))};
}

void DrawSlice(gfx::Canvas* dc, SkinImage* image, int count, int index, const SkinRect& rect) {
    if (dc == nullptr || image == nullptr) {
        return;
    }
    const std::uint32_t width = image->Width();
    if (width == 0) {
        return;
    }
    gfx::drawImage(*dc, image->native(), SliceSource(width, image->Height(), count, index),
                   SliceDest(rect));
}

}  // namespace quelt

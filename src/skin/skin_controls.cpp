#include "skin/skin_controls.h"

namespace quelt {

namespace {
constexpr int kStripSlices = 4;
}

int LoadSkinImage(std::unique_ptr<SkinImage>& holder, const std::string& path,
                  std::int32_t resourceId) {
    if (holder) {
        return 0;
    }
    holder = resourceId != 0 ? SkinImage::FromResource(resourceId) : SkinImage::FromFile(path);
    return holder->Width() != 0 ? 1 : 0;
}

int SkinButton::Load() {
    return LoadSkinImage(image, imagePath, resourceId);
}

void SkinButton::Draw(gfx::Canvas* dc) {
    DrawStateSlice(dc, *this, kStripSlices);
}

int SkinCheckBox::Load() {
    return LoadSkinImage(image, imagePath);
}

void SkinCheckBox::Draw(gfx::Canvas* dc) {
    DrawStateSlice(dc, *this, kStripSlices);
}

int SkinSwitch::Load() {
    return LoadSkinImage(image, imagePath);
}

void SkinSwitch::Draw(gfx::Canvas* dc) {
    DrawSlice(dc, image.get(), kStripSlices, state, rect);
}

}  // namespace quelt

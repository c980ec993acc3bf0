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

// Assign copies the layout fields; a descriptor carries no image, so the record ends without one.

void SkinButton::Assign(const SkinButton& d) {
    resourceId = d.resourceId;
    imagePath = d.imagePath;
    rect = d.rect;
    image.reset();
    visible = d.visible;
    pending = d.pending;
    message = d.message;
    state = d.state;
}

int SkinButton::Load() {
    return LoadSkinImage(image, imagePath, resourceId);
}

void SkinButton::Draw(gfx::Canvas* dc) {
    DrawStateSlice(dc, *this, kStripSlices);
}

void SkinCheckBox::Assign(const SkinCheckBox& d) {
    imagePath = d.imagePath;
    rect = d.rect;
    visible = d.visible;
    image.reset();
    pending = d.pending;
    message = d.message;
    state = d.state;
}

int SkinCheckBox::Load() {
    return LoadSkinImage(image, imagePath);
}

void SkinCheckBox::Draw(gfx::Canvas* dc) {
    DrawStateSlice(dc, *this, kStripSlices);
}

void SkinSwitch::Assign(const SkinSwitch& d) {
    imagePath = d.imagePath;
    rect = d.rect;
    image.reset();
    pending = d.pending;
    message = d.message;
    state = d.state;
}

int SkinSwitch::Load() {
    return LoadSkinImage(image, imagePath);
}

void SkinSwitch::Draw(gfx::Canvas* dc) {
    DrawSlice(dc, image.get(), kStripSlices, state, rect);
}

}  // namespace quelt

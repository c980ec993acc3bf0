#pragma once
// One decoded skin image, held by a control or used for a single draw.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/gfx/gfx.h"
#include "skin/skin_rect.h"

namespace quelt {

class SkinImage {
  public:
    // The object exists even when decoding fails; its width and height then read 0.
    static std::unique_ptr<SkinImage> FromFile(const std::string& path);
    static std::unique_ptr<SkinImage> FromResource(int resourceId);

    // 0 when the image could not be decoded (the reason is kept in `lastStatus`).
    std::uint32_t Width();
    std::uint32_t Height();
    int lastStatus() const { return lastStatus_; }
    const gfx::Image& native() const { return native_; }

  private:
    gfx::Image native_;
    int lastStatus_ = gfx::kOk;
};

// The image a control holds once loaded. Copying a control copies its layout only: a copy of a
// slot is empty, and assigning one to a slot empties it.
class SkinImageSlot : public std::unique_ptr<SkinImage> {
  public:
    using std::unique_ptr<SkinImage>::unique_ptr;
    using std::unique_ptr<SkinImage>::operator=;
    SkinImageSlot() = default;
    SkinImageSlot(const SkinImageSlot&) noexcept : std::unique_ptr<SkinImage>() {}
    SkinImageSlot& operator=(const SkinImageSlot&) noexcept {
        reset();
        return *this;
    }
    SkinImageSlot(SkinImageSlot&&) noexcept = default;
    SkinImageSlot& operator=(SkinImageSlot&&) noexcept = default;
    ~SkinImageSlot() = default;
};

// Source rectangle of slice `index` in an image strip of `count` equal slices side by side:
// x = index * (W / count) with an integer division, width = W / count as a real number.
gfx::RectF SliceSource(std::uint32_t width, std::uint32_t height, int count, int index);

// Destination of a control rectangle: x = left, y = top, width |right - left|, height
// |bottom - top|.
gfx::RectF SliceDest(const SkinRect& rect);

// Draws slice `index` of `image` into `rect`, blended by the image's own alpha, no attributes.
// Nothing is drawn without a canvas, without an image or when the image's width is 0.
void DrawSlice(gfx::Canvas* dc, SkinImage* image, int count, int index, const SkinRect& rect);

}  // namespace quelt

#pragma once
// Clickable skinned controls: plain records kept in fixed arrays by their owner window, each with
// its rectangle, image strip (four slices, one per state) and state. `Assign` copies the layout
// fields of a descriptor; a descriptor carries no image, so the record ends without one.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/gfx/gfx.h"
#include "skin/skin_image.h"
#include "skin/skin_rect.h"

namespace quelt {

// State of every skinned control. Buttons: 0 normal, 2 pressed, 3 disabled. Check boxes, radio
// buttons, switches: 0 off, 1 on, 2 off and disabled, 3 on and disabled. Sliders: 0 normal,
// 1 dragging, 2 disabled. Static images: 0 normal, 1 disabled.
using ControlState = std::int32_t;

struct SkinButton {
    std::int32_t resourceId = 0;  // nonzero: load the "PNG" resource with this id
    std::string imagePath{};
    SkinRect rect{};
    SkinImageSlot image{};
    std::int32_t visible = 0;
    std::int32_t pending = 0;
    std::int32_t message = 0;
    ControlState state = 0;

    void Assign(const SkinButton& descriptor) { *this = descriptor; }
    int Load();
    void Draw(gfx::Canvas* dc);
    void Release() { image.reset(); }
    bool Hits(int x, int y) const { return visible != 0 && PtInRect(rect, x, y); }
};

struct SkinCheckBox {
    std::string imagePath{};
    SkinRect rect{};
    std::int32_t visible = 0;
    SkinImageSlot image{};
    std::int32_t pending = 0;
    std::int32_t message = 0;
    ControlState state = 0;

    void Assign(const SkinCheckBox& descriptor) { *this = descriptor; }
    int Load();
    void Draw(gfx::Canvas* dc);
    void Release() { image.reset(); }
    int IsOn() const { return state == 1 || state == 3 ? 1 : 0; }
    bool Hits(int x, int y) const { return visible != 0 && PtInRect(rect, x, y); }
};

// Same record as a check box; only the press rule differs.
struct SkinRadioButton : SkinCheckBox {};

// A switch has no visibility flag: always drawn and hit-testable.
struct SkinSwitch {
    std::string imagePath{};
    SkinRect rect{};
    SkinImageSlot image{};
    std::int32_t pending = 0;
    std::int32_t message = 0;
    ControlState state = 0;

    void Assign(const SkinSwitch& descriptor) { *this = descriptor; }
    int Load();
    void Draw(gfx::Canvas* dc);
    void Release() { image.reset(); }
    int IsOn() const { return state == 1 || state == 3 ? 1 : 0; }
    bool Hits(int x, int y) const { return PtInRect(rect, x, y); }
};

// Loads an image into an empty holder; 1 when an image of nonzero width is held. A holder that
// already has an image is left alone and gives 0.
int LoadSkinImage(std::unique_ptr<SkinImage>& holder, const std::string& path,
                  std::int32_t resourceId = 0);

// Draws the slice of a control's image strip that shows its state, when the control is visible.
template <class Control>
void DrawStateSlice(gfx::Canvas* dc, Control& control, int slices) {
    if (control.visible != 0) {
        DrawSlice(dc, control.image.get(), slices, control.state, control.rect);
    }
}

}  // namespace quelt

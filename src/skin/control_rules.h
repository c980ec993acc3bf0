#pragma once
// How pointer presses and releases, radio-group choices and enabling change control states. The
// owner window applies these to its control arrays and posts the messages: each function returns
// the index (position in the array) of the control that was operated, or -1, and the owner then
// posts that control's message when `ClaimPost` allows it.
#include <cstdint>
#include <span>

#include "skin/skin_controls.h"
#include "skin/skin_slider.h"
#include "skin/skin_static.h"

namespace quelt {

// Posting rule: only a control whose message is not pending posts; it becomes pending.
inline bool ClaimPost(std::int32_t& pending) {
    if (pending != 0) {
        return false;
    }
    pending = 1;
    return true;
}

// Press on check boxes or switches: the first enabled one hit toggles between off and on.
int PressToggles(std::span<SkinCheckBox> boxes, int x, int y);
int PressToggles(std::span<SkinSwitch> switches, int x, int y);
// Press on a radio group: the first member hit that is off (and enabled) turns on.
int PressRadio(std::span<SkinRadioButton> group, int x, int y);
// Radio-group choice: every enabled member is on when it is `chosen`, off otherwise.
void SelectRadio(std::span<SkinRadioButton> group, int chosen);
// Press on push buttons: the first one hit that is not disabled becomes pressed (nothing posts).
int PressButtons(std::span<SkinButton> buttons, int x, int y);
// Release: a pressed button returns to normal; it is operated when the pointer is still on it.
int ReleaseButtons(std::span<SkinButton> buttons, int x, int y);

// Press on sliders: the first visible, enabled slider hit starts dragging and tracks the point.
int PressSliders(std::span<SkinSlider> sliders, int x, int y);
// Move: tracks each slider until one responds; returns its index (post only when it is dragging).
int MoveSliders(std::span<SkinSlider> sliders, int x, int y);
// Release: the first visible slider that is dragging stops.
int ReleaseSliders(std::span<SkinSlider> sliders);

// Whether the pointer at (x, y) is over a control that takes input (hand cursor).
bool IsLive(const SkinButton& control, int x, int y);
bool IsLive(const SkinCheckBox& control, int x, int y);
bool IsLive(const SkinSwitch& control, int x, int y);

// Two-state rule of check boxes, radio buttons and switches. Enable: 3 becomes 1, anything else
// 0. Disable: 1 becomes 3, anything else 2.
ControlState TwoStateEnabled(ControlState state, bool enabled);

// Enabling and disabling. Two-state controls keep their on/off value across both.
void SetEnabled(SkinButton& control, bool enabled);
void SetEnabled(SkinCheckBox& control, bool enabled);
void SetEnabled(SkinSwitch& control, bool enabled);
void SetEnabled(SkinSlider& control, bool enabled);
void SetEnabled(SkinStaticImage& control, bool enabled);
void SetEnabled(SkinText& control, bool enabled);

}  // namespace quelt

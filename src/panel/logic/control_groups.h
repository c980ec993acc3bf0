#pragma once
// Helpers of the message handlers for a group of controls addressed by the message's wParam (the
// member's index): the member, its release (it may post again), and a radio choice.
#include <array>
#include <cstddef>
#include <cstdint>

#include "skin/control_rules.h"
#include "skin/skin_controls.h"

namespace quelt {

// Member `w` of a group, or null when `w` is outside it.
template <class Control, std::size_t N>
Control* member(std::array<Control, N>& group, std::uintptr_t w) {
    return w < N ? &group[w] : nullptr;
}

template <class Control, std::size_t N>
void release(std::array<Control, N>& group, std::uintptr_t w) {
    if (Control* control = member(group, w)) {
        control->pending = 0;
    }
}

// Radio choice of member `w` (nothing when `w` is outside the group), then its release.
template <std::size_t N>
void selectAndRelease(std::array<SkinRadioButton, N>& group, std::uintptr_t w) {
    if (w < N) {
        SelectRadio(group, static_cast<int>(w));
    }
    release(group, w);
}

}  // namespace quelt

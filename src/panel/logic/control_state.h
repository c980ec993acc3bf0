#pragma once
// State helpers for the two-state controls (check boxes, radio buttons, switches): on is 1 or 3,
// disabled is 2 or 3. Turning a member on or off never touches a disabled member.
#include <cstdint>
#include <span>

#include "skin/skin_controls.h"

namespace quelt {

inline bool isOnState(ControlState state) {
    return state == 1 || state == 3;
}
inline bool isDisabledState(ControlState state) {
    return state == 2 || state == 3;
}

template <class Control>
void turnOnUnlessDisabled(Control& control) {
    if (!isDisabledState(control.state)) {
        control.state = 1;
    }
}

template <class Control>
void turnOffUnlessDisabled(Control& control) {
    if (!isDisabledState(control.state)) {
        control.state = 0;
    }
}

// Index of the first member that is on, -1 when none.
inline int firstOn(std::span<const SkinRadioButton> group) {
    for (std::size_t i = 0; i < group.size(); ++i) {
        if (isOnState(group[i].state)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// Every enabled member off, then member `chosen` on (unless disabled; -1 leaves all off).
inline void showOnlyMember(std::span<SkinRadioButton> group, int chosen) {
    for (std::size_t i = 0; i < group.size(); ++i) {
        turnOffUnlessDisabled(group[i]);
    }
    if (chosen >= 0 && static_cast<std::size_t>(chosen) < group.size()) {
        turnOnUnlessDisabled(group[static_cast<std::size_t>(chosen)]);
    }
}

// A slider's current stop as a frame byte: 0xFF when the thumb rests on no stop.
inline std::uint8_t stopByte(int stop) {
    return static_cast<std::uint8_t>(stop < 0 ? 0xFF : stop);
}

}  // namespace quelt

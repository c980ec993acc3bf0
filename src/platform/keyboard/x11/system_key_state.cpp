#include "platform/keyboard/x11/system_key_state.h"

#include "base/key_codes.h"

namespace quelt::x11 {

namespace {
constexpr std::uint32_t kKeyDown = 0x100;
constexpr std::uint32_t kKeyUp = 0x101;
constexpr std::uint32_t kSystemKeyDown = 0x104;
constexpr std::uint32_t kSystemKeyUp = 0x105;
}  // namespace

std::uint32_t SystemKeyState::messageFor(std::uint32_t virtualKey, bool down) {
    const bool isAlt = virtualKey == vk::kLeftAlt || virtualKey == vk::kRightAlt;
    if (isAlt) {
        bool& side = virtualKey == vk::kLeftAlt ? leftAlt_ : rightAlt_;
        if (down) {
            // The other Alt key counts as another key pressed while Alt is held.
            otherKeyWhileAlt_ = altHeld();
            side = true;
            return controlHeld() ? kKeyDown : kSystemKeyDown;
        }
        side = false;
        const bool alone = !otherKeyWhileAlt_ && !controlHeld();
        return alone ? kSystemKeyUp : kKeyUp;
    }
    if (virtualKey == vk::kLeftControl) {
        leftControl_ = down;
    } else if (virtualKey == vk::kRightControl) {
        rightControl_ = down;
    }
    if (altHeld()) {
        otherKeyWhileAlt_ = true;
    }
    const bool system = altHeld() && !controlHeld();
    return down ? (system ? kSystemKeyDown : kKeyDown) : (system ? kSystemKeyUp : kKeyUp);
}

}  // namespace quelt::x11

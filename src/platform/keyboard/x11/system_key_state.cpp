#include "platform/keyboard/x11/system_key_state.h"

namespace quelt::x11 {

namespace {
constexpr std::uint32_t kVkLeftControl = 0xA2;
constexpr std::uint32_t kVkRightControl = 0xA3;
constexpr std::uint32_t kVkLeftAlt = 0xA4;
constexpr std::uint32_t kVkRightAlt = 0xA5;

constexpr std::uint32_t kKeyDown = 0x100;
constexpr std::uint32_t kKeyUp = 0x101;
constexpr std::uint32_t kSystemKeyDown = 0x104;
constexpr std::uint32_t kSystemKeyUp = 0x105;
}  // namespace

std::uint32_t SystemKeyState::messageFor(std::uint32_t virtualKey, bool down) {
    const bool isAlt = virtualKey == kVkLeftAlt || virtualKey == kVkRightAlt;
    if (isAlt) {
        bool& side = virtualKey == kVkLeftAlt ? leftAlt_ : rightAlt_;
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
    if (virtualKey == kVkLeftControl) {
        leftControl_ = down;
    } else if (virtualKey == kVkRightControl) {
        rightControl_ = down;
    }
    if (altHeld()) {
        otherKeyWhileAlt_ = true;
    }
    const bool system = altHeld() && !controlHeld();
    return down ? (system ? kSystemKeyDown : kKeyDown) : (system ? kSystemKeyUp : kKeyUp);
}

}  // namespace quelt::x11

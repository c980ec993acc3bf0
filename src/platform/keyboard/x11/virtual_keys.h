#pragma once
// Windows virtual-key codes for X11 keys, so that both platforms feed the same codes to the
// shortcuts. Pure functions of the key's keysyms: no display needed.
#include <cstdint>

namespace quelt::x11 {

// The virtual-key code of the key with X keycode `keycode` whose keysyms at shift level 0 and 1
// (of the first group) are `level0` and `level1` (0 for none). 0 when the key has no code.
//  - Keypad keys map to the keypad codes (0x60-0x6F, or the navigation codes), never to the
//    digits 0x30-0x39.
//  - The main digit row maps to 0x30-0x39 by the digit at level 0 or 1 (AZERTY puts it at
//    level 1) or else by its position (keycodes 10-19).
//  - Letters map to 0x41-0x5A by the letter at level 0 (the letter printed on the key).
//  - F1-F24 map to 0x70-0x87, Escape to 0x1B; other named keys and punctuation to their codes.
std::uint32_t virtualKeyFor(std::uint32_t keycode, std::uint32_t level0, std::uint32_t level1);

}  // namespace quelt::x11

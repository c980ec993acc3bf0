#include "platform/keyboard/x11/virtual_keys.h"

#include "base/key_codes.h"

#include <X11/keysym.h>

#include <iterator>

namespace quelt::x11 {

namespace {

struct KeysymCode {
    std::uint32_t keysym;
    std::uint32_t virtualKey;
};

// Named keys and punctuation (US positions for the punctuation codes).
constexpr KeysymCode kNamedKeys[] = {
    {XK_BackSpace, 0x08},
    {XK_Tab, 0x09},
    {XK_ISO_Left_Tab, 0x09},
    {XK_Return, vk::kReturn},
    {XK_Pause, 0x13},
    {XK_Caps_Lock, 0x14},
    {XK_Escape, vk::kEscape},
    {XK_space, 0x20},
    {XK_Prior, 0x21},
    {XK_Next, 0x22},
    {XK_End, 0x23},
    {XK_Home, 0x24},
    {XK_Left, 0x25},
    {XK_Up, 0x26},
    {XK_Right, 0x27},
    {XK_Down, 0x28},
    {XK_Print, 0x2C},
    {XK_Insert, 0x2D},
    {XK_Delete, 0x2E},
    {XK_Super_L, 0x5B},
    {XK_Super_R, 0x5C},
    {XK_Menu, 0x5D},
    {XK_Num_Lock, 0x90},
    {XK_Scroll_Lock, 0x91},
    {XK_Shift_L, vk::kLeftShift},
    {XK_Shift_R, vk::kRightShift},
    {XK_Control_L, vk::kLeftControl},
    {XK_Control_R, vk::kRightControl},
    {XK_Alt_L, vk::kLeftAlt},
    {XK_Meta_L, vk::kLeftAlt},
    {XK_Alt_R, vk::kRightAlt},
    {XK_Meta_R, vk::kRightAlt},
    {XK_ISO_Level3_Shift, vk::kRightAlt},
    {XK_semicolon, 0xBA},
    {XK_equal, 0xBB},
    {XK_comma, 0xBC},
    {XK_minus, 0xBD},
    {XK_period, 0xBE},
    {XK_slash, 0xBF},
    {XK_grave, 0xC0},
    {XK_bracketleft, 0xDB},
    {XK_backslash, 0xDC},
    {XK_bracketright, 0xDD},
    {XK_apostrophe, 0xDE},
    {XK_less, 0xE2},
};

// Keypad keys other than the digits (NumLock on gives the digits, off the navigation keys).
constexpr KeysymCode kKeypadKeys[] = {
    {XK_KP_Multiply, 0x6A},     {XK_KP_Add, 0x6B},     {XK_KP_Separator, 0x6C},
    {XK_KP_Subtract, 0x6D},     {XK_KP_Decimal, 0x6E}, {XK_KP_Divide, 0x6F},
    {XK_KP_Enter, vk::kReturn}, {XK_KP_Prior, 0x21},   {XK_KP_Next, 0x22},
    {XK_KP_End, 0x23},          {XK_KP_Home, 0x24},    {XK_KP_Left, 0x25},
    {XK_KP_Up, 0x26},           {XK_KP_Right, 0x27},   {XK_KP_Down, 0x28},
    {XK_KP_Insert, 0x2D},       {XK_KP_Delete, 0x2E},  {XK_KP_Begin, 0x0C},
    {XK_KP_Space, 0x20},        {XK_KP_Tab, 0x09},     {XK_KP_Equal, 0xBB},
};

constexpr std::uint32_t kFirstDigitRowKeycode = 10;  // "1"; "0" is at 19
constexpr std::uint32_t kLastDigitRowKeycode = 19;

template <std::size_t N>
std::uint32_t lookUp(const KeysymCode (&table)[N], std::uint32_t keysym) {
    for (const KeysymCode& entry : table) {
        if (entry.keysym == keysym) {
            return entry.virtualKey;
        }
    }
    return 0;
}

bool isKeypad(std::uint32_t keysym) {
    return keysym >= XK_KP_Space && keysym <= XK_KP_Equal;
}
bool isKeypadDigit(std::uint32_t keysym) {
    return keysym >= XK_KP_0 && keysym <= XK_KP_9;
}
bool isDigit(std::uint32_t keysym) {
    return keysym >= XK_0 && keysym <= XK_9;
}

std::uint32_t letterCode(std::uint32_t keysym) {
    if (keysym >= XK_a && keysym <= XK_z) {
        return 0x41 + (keysym - XK_a);
    }
    if (keysym >= XK_A && keysym <= XK_Z) {
        return 0x41 + (keysym - XK_A);
    }
    return 0;
}

std::uint32_t keypadCode(std::uint32_t level0, std::uint32_t level1) {
    if (isKeypadDigit(level0)) {
        return 0x60 + (level0 - XK_KP_0);
    }
    if (isKeypadDigit(level1)) {
        return 0x60 + (level1 - XK_KP_0);
    }
    const std::uint32_t code = lookUp(kKeypadKeys, level0);
    return code != 0 ? code : lookUp(kKeypadKeys, level1);
}

}  // namespace

std::uint32_t virtualKeyFor(std::uint32_t keycode, std::uint32_t level0, std::uint32_t level1) {
    if (isKeypad(level0) || isKeypad(level1)) {
        return keypadCode(level0, level1);
    }
    if (isDigit(level0)) {
        return level0;  // the digit keysyms are the digit codes
    }
    if (isDigit(level1)) {
        return level1;
    }
    if (keycode >= kFirstDigitRowKeycode && keycode <= kLastDigitRowKeycode) {
        return keycode == kLastDigitRowKeycode ? vk::kDigit0
                                               : vk::kDigit1 + (keycode - kFirstDigitRowKeycode);
    }
    if (std::uint32_t letter = letterCode(level0)) {
        return letter;
    }
    if (level0 >= XK_F1 && level0 <= XK_F24) {
        return vk::kF1 + (level0 - XK_F1);
    }
    if (std::uint32_t named = lookUp(kNamedKeys, level0)) {
        return named;
    }
    return letterCode(level1);
}

}  // namespace quelt::x11

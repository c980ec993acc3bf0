// Translation of X11 keys to Windows virtual-key codes and message identifiers.
#include <X11/keysym.h>
#include <gtest/gtest.h>

#include "platform/keyboard/x11/system_key_state.h"
#include "platform/keyboard/x11/virtual_keys.h"

namespace quelt::x11 {
namespace {

// Keycodes of the usual X server keymap (evdev): the digit row is 10 ("1") to 19 ("0").
constexpr std::uint32_t kKeycodeOne = 10;
constexpr std::uint32_t kKeycodeThree = 12;
constexpr std::uint32_t kKeycodeSix = 15;
constexpr std::uint32_t kKeycodeQ = 24;
constexpr std::uint32_t kKeycodeA = 38;
constexpr std::uint32_t kKeycodeKeypadOne = 87;
constexpr std::uint32_t kKeycodeEscape = 9;

TEST(VirtualKeys, DigitRowGivesDigitsOnUsAndAzertyLayouts) {
    // US: the digit at level 0.
    EXPECT_EQ(virtualKeyFor(kKeycodeOne, XK_1, XK_exclam), 0x31u);
    EXPECT_EQ(virtualKeyFor(kKeycodeSix, XK_6, XK_asciicircum), 0x36u);
    EXPECT_EQ(virtualKeyFor(19, XK_0, XK_parenright), 0x30u);
    // AZERTY: punctuation or accented letters at level 0, the digit at level 1. The "6" key
    // has a minus at level 0, which must not win over the digit.
    EXPECT_EQ(virtualKeyFor(kKeycodeOne, XK_ampersand, XK_1), 0x31u);
    EXPECT_EQ(virtualKeyFor(11, XK_eacute, XK_2), 0x32u);
    EXPECT_EQ(virtualKeyFor(kKeycodeSix, XK_minus, XK_6), 0x36u);
    // A layout with neither level a digit: the key's position in the row decides.
    EXPECT_EQ(virtualKeyFor(kKeycodeThree, XK_ecaron, XK_Ecaron), 0x33u);
    EXPECT_EQ(virtualKeyFor(19, 0, 0), 0x30u);
}

TEST(VirtualKeys, KeypadNeverGivesTheDigitRowCodes) {
    // NumLock layout: navigation at level 0, the digit at level 1.
    EXPECT_EQ(virtualKeyFor(kKeycodeKeypadOne, XK_KP_End, XK_KP_1), 0x61u);
    EXPECT_EQ(virtualKeyFor(kKeycodeKeypadOne, XK_KP_1, 0), 0x61u);
    EXPECT_EQ(virtualKeyFor(90, XK_KP_Insert, XK_KP_0), 0x60u);
    EXPECT_EQ(virtualKeyFor(89, XK_KP_Next, XK_KP_3), 0x63u);
    // Keypad keys without digits.
    EXPECT_EQ(virtualKeyFor(86, XK_KP_Add, XK_KP_Add), 0x6Bu);
    EXPECT_EQ(virtualKeyFor(104, XK_KP_Enter, 0), 0x0Du);
    EXPECT_EQ(virtualKeyFor(84, XK_KP_Begin, XK_KP_5), 0x65u);
    for (std::uint32_t keypadDigit = XK_KP_0; keypadDigit <= XK_KP_9; ++keypadDigit) {
        const std::uint32_t code = virtualKeyFor(kKeycodeKeypadOne, keypadDigit, 0);
        EXPECT_FALSE(code >= 0x30 && code <= 0x39) << "keysym " << keypadDigit;
    }
}

TEST(VirtualKeys, FunctionKeysEscapeAndLetters) {
    EXPECT_EQ(virtualKeyFor(67, XK_F1, XK_F1), 0x70u);
    EXPECT_EQ(virtualKeyFor(72, XK_F6, XK_F6), 0x75u);
    EXPECT_EQ(virtualKeyFor(96, XK_F12, XK_F12), 0x7Bu);
    EXPECT_EQ(virtualKeyFor(0, XK_F24, 0), 0x87u);
    EXPECT_EQ(virtualKeyFor(kKeycodeEscape, XK_Escape, 0), 0x1Bu);
    // Letters follow what is printed on the key: AZERTY has "a" where US has "q".
    EXPECT_EQ(virtualKeyFor(kKeycodeQ, XK_q, XK_Q), 0x51u);
    EXPECT_EQ(virtualKeyFor(kKeycodeQ, XK_a, XK_A), 0x41u);
    EXPECT_EQ(virtualKeyFor(kKeycodeA, XK_A, 0), 0x41u);
    EXPECT_EQ(virtualKeyFor(52, XK_z, XK_Z), 0x5Au);
}

TEST(VirtualKeys, NamedKeysAndKeysWithoutCode) {
    EXPECT_EQ(virtualKeyFor(64, XK_Alt_L, XK_Meta_L), 0xA4u);
    EXPECT_EQ(virtualKeyFor(108, XK_ISO_Level3_Shift, 0), 0xA5u);
    EXPECT_EQ(virtualKeyFor(37, XK_Control_L, 0), 0xA2u);
    EXPECT_EQ(virtualKeyFor(36, XK_Return, 0), 0x0Du);
    EXPECT_EQ(virtualKeyFor(20, XK_minus, XK_underscore), 0xBDu);
    EXPECT_EQ(virtualKeyFor(200, XK_VoidSymbol, 0), 0u);
    EXPECT_EQ(virtualKeyFor(201, 0, 0), 0u);
}

struct KeyStep {
    std::uint32_t virtualKey;
    bool down;
    std::uint32_t message;
};

void expectMessages(std::initializer_list<KeyStep> steps) {
    SystemKeyState state;
    int index = 0;
    for (const KeyStep& step : steps) {
        EXPECT_EQ(state.messageFor(step.virtualKey, step.down), step.message) << "step " << index;
        ++index;
    }
}

constexpr std::uint32_t kAlt = 0xA4;
constexpr std::uint32_t kRightAlt = 0xA5;
constexpr std::uint32_t kControl = 0xA2;
constexpr std::uint32_t kOne = 0x31;

TEST(SystemKeyState, PlainKeysAreKeyDownAndUp) {
    expectMessages({{kOne, true, 0x100}, {kOne, false, 0x101}, {0x70, true, 0x100}});
}

TEST(SystemKeyState, KeysWithAltHeldAreSystemKeys) {
    // Alt+1: the digit is a system key while Alt is held; Alt's release after it is a plain
    // key-up.
    expectMessages({{kAlt, true, 0x104},
                    {kOne, true, 0x104},
                    {kOne, false, 0x105},
                    {kAlt, false, 0x101},
                    {kOne, true, 0x100}});
    // Alt alone, and the digit released after Alt.
    expectMessages({{kAlt, true, 0x104},
                    {kAlt, false, 0x105},
                    {kAlt, true, 0x104},
                    {kOne, true, 0x104},
                    {kAlt, false, 0x101},
                    {kOne, false, 0x101}});
    // Both Alt keys: the digit stays a system key until the second one is released.
    expectMessages({{kAlt, true, 0x104},
                    {kRightAlt, true, 0x104},
                    {kAlt, false, 0x101},
                    {kOne, true, 0x104},
                    {kRightAlt, false, 0x101},
                    {kOne, false, 0x101}});
}

TEST(SystemKeyState, ControlWithAltGivesPlainKeys) {
    expectMessages({{kControl, true, 0x100},
                    {kAlt, true, 0x100},
                    {kOne, true, 0x100},
                    {kOne, false, 0x101},
                    {kControl, false, 0x105},
                    {kAlt, false, 0x101}});
}

}  // namespace
}  // namespace quelt::x11

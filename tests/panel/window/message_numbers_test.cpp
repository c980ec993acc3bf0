// The panel's message numbers as fixed values: what each control of the built panel posts,
// what each shortcut posts, and that a handler answers every one of them.
#include <gtest/gtest.h>

#include <cstdint>

#include "panel/keyboard_shortcuts.h"
#include "panel/logic/panel_logic.h"
#include "panel/panel_messages.h"
#include "panel_fixture.h"

namespace quelt::test {
namespace {

std::int64_t keyMessage(std::uint32_t virtualKey) {
    const auto shortcut = shortcutForKey(virtualKey);
    return shortcut ? static_cast<std::int64_t>(shortcut->message) : -1;
}

TEST(PanelMessageNumbers, ControlsShortcutsAndHandlersUseTheFixedNumbers) {
    SkinCopy skin;
    PanelHarness h(skin.base());
    ASSERT_TRUE(h.build());
    PanelControls& c = h.c();
    struct Row {
        std::int64_t number;
        std::int64_t used;
        const char* by;
    };
    const Row rows[] = {
        {1025, c.syncCheckBox[0].message, "Device Setting Sync check box"},
        {1035, msg::StartupDone, "end of start-up"},
        {1125, c.switches[0].message, "Serial COM switch"},
        {1126, c.switches[1].message, "Pattern switch"},
        {1127, c.switches[2].message, "RGBW switch"},
        {1225, c.buttons[1].message, "HW Reset button"},
        {1225, keyMessage(0x7B), "F12"},
        {1226, c.buttons[2].message, "SW Reset button"},
        {1227, c.buttons[4].message, "Apply button"},
        {1228, c.buttons[3].message, "Advance Setting button"},
        {1229, c.buttons[0].message, "Exit button"},
        {1325, c.modeGroup[3].message, "Mode group"},
        {1326, c.clockSyncGroup[2].message, "Clock Sync group"},
        {1327, c.frameRateGroup[1].message, "Frame Rate group"},
        {1328, c.hLimitGroup[5].message, "H Limit group"},
        {1329, c.vLimitGroup[3].message, "V Limit group"},
        {1330, c.deviceBoxGroup[5].message, "device-box group"},
        {1331, c.deviceIdGroup[5].message, "Device ID group"},
        {1425, c.resolutionSliders[0].message, "DP1 slider, 60 Hz"},
        {1425, c.resolutionSliders[2].message, "DP1 slider, 120 Hz"},
        {1426, c.resolutionSliders[1].message, "DP2 slider, 60 Hz"},
        {1426, c.resolutionSliders[3].message, "DP2 slider, 120 Hz"},
        {1427, c.bezelSliders[0].message, "H bezel slider"},
        {1428, c.bezelSliders[1].message, "V bezel slider"},
        {1524, keyMessage(0x31), "key 1"},
        {1524, keyMessage(0x36), "key 6"},
        {1525, keyMessage(0x70), "F1"},
        {1525, keyMessage(0x75), "F6"},
        {1526, keyMessage(0x1B), "Esc"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(r.used, r.number) << r.by;
        EXPECT_TRUE(PanelLogic::knows(static_cast<std::uint32_t>(r.number))) << r.by;
    }
    // Every group member posts its group's number.
    for (const auto& member : c.modeGroup) {
        EXPECT_EQ(member.message, 1325);
    }
    for (const auto& member : c.deviceIdGroup) {
        EXPECT_EQ(member.message, 1331);
    }
}

}  // namespace
}  // namespace quelt::test

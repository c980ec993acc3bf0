// Serial COM switch, pattern switches, box selection and the keyboard shortcuts' messages.
#include "panel_fixture.h"

namespace quelt::testing {
namespace {

using ConnectionTest = PanelTest;

TEST_F(ConnectionTest, ConnectingWithNoBoxShowsErrorZeroAndStaysDisconnected) {
    clickSwitch(ctl::kSerialComSwitch);
    EXPECT_EQ(window.errors, std::vector<int>{ui_error::kSerialComInit});
    EXPECT_EQ(controls.switches[ctl::kSerialComSwitch].state, 0);
    EXPECT_EQ(controls.switches[ctl::kSerialComSwitch].pending, 0);
    EXPECT_EQ(controls.buttons[ctl::kApplyButton].state, 3);
    EXPECT_EQ(controls.panelLabels[1].disabled, 1);
    EXPECT_EQ(controls.panelLabels[0].text, "Quelt Control Center - v1.05a");
    EXPECT_EQ(shortcutsEnabled.load(), 0);
    EXPECT_EQ(window.hookInstalls, 0);
    EXPECT_GE(window.redraws, 1);
}

TEST_F(ConnectionTest, ConnectingShowsBoxZeroAndListsEveryBox) {
    BoxSettings s;
    s.flags = 2u | (1u << 6);  // clock sync OFF, Stretch 1 x 4
    s.resolutionDp1 = 6;
    s.hLimit = 100;
    s.hBezel = 30;
    addBox(2, 3, s);
    addBox(4, 1);
    addBox(9, 6);
    clickSwitch(ctl::kSerialComSwitch);

    EXPECT_TRUE(window.errors.empty());
    EXPECT_EQ(shortcutsEnabled.load(), 1);
    EXPECT_EQ(window.hookInstalls, 1);
    EXPECT_EQ(controls.switches[ctl::kSerialComSwitch].state, 1);
    for (int i = 0; i < 6; ++i) {
        const auto index = static_cast<std::size_t>(i);
        EXPECT_EQ(controls.deviceBoxGroup[index].visible, i < 3 ? 1 : 0) << i;
        EXPECT_EQ(controls.deviceInfoTexts[index].visible, i < 3 ? 1 : 0) << i;
    }
    EXPECT_EQ(controls.deviceBoxGroup[0].state, 1);
    EXPECT_EQ(controls.deviceBoxGroup[1].state, 0);
    EXPECT_EQ(controls.deviceInfoTexts[2].text, "FW: 29\nCOM: 9\nBoxID: 6");
    EXPECT_EQ(controls.deviceInfoTexts[0].disabled, 0);

    // Box 0's settings on the controls, with the slider rules applied.
    EXPECT_EQ(firstOn(controls.modeGroup), 1);
    EXPECT_EQ(firstOn(controls.clockSyncGroup), 2);
    EXPECT_EQ(firstOn(controls.hLimitGroup), 2);
    EXPECT_EQ(firstOn(controls.deviceIdGroup), 2);
    EXPECT_EQ(controls.dp1Labels[0].text, "4096 x 768");
    EXPECT_EQ(controls.bezelSliders[ctl::kHBezel].GetStop(), 30);
    EXPECT_EQ(controls.bezelSliders[ctl::kHBezel].state, 0);
    EXPECT_EQ(controls.bezelSliders[ctl::kVBezel].state, 2);
    EXPECT_EQ(controls.resolutionSliders[ctl::kDp2Slider60].state, 2);  // tied to DP1
    EXPECT_EQ(controls.resolutionSliders[ctl::kDp2Slider60].GetStop(), 6);
    EXPECT_EQ(controls.bezelTexts[0].text, "HBezel = 30");
    EXPECT_EQ(working()[frame_offset::hBezel], 30);
}

TEST_F(ConnectionTest, OneBoxConnectsAndDisconnectingClosesEverything) {
    addBox(1, 1);
    connect();
    controls.switches[ctl::kPatternSwitch].state = 1;  // left on as the rule allows
    clickSwitch(ctl::kSerialComSwitch);

    EXPECT_EQ(bus.openCount(), 0);
    EXPECT_EQ(logic.link.boxCount(), 0);
    EXPECT_EQ(controls.deviceBoxGroup[0].visible, 0);
    EXPECT_EQ(controls.deviceInfoTexts[0].visible, 0);
    EXPECT_EQ(controls.switches[ctl::kSerialComSwitch].state, 0);
    EXPECT_EQ(controls.switches[ctl::kPatternSwitch].state, 2);  // off, then disabled
    EXPECT_EQ(controls.buttons[ctl::kApplyButton].state, 3);
    EXPECT_EQ(controls.modeGroup[0].state, 3);
    EXPECT_EQ(window.hookRemovals, 1);
    EXPECT_EQ(shortcutsEnabled.load(), 0);
    EXPECT_EQ(controls.panelLabels[0].text, "Quelt Control Center - v1.05a");

    // Reconnecting installs the shortcuts' observer again.
    clickSwitch(ctl::kSerialComSwitch);
    EXPECT_EQ(logic.link.boxCount(), 1);
    EXPECT_EQ(window.hookInstalls, 2);
    EXPECT_EQ(controls.buttons[ctl::kApplyButton].state, 0);
}

class PatternSwitchTest : public PanelTest,
                          public ::testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(PatternSwitchTest, OnDisablesAllButItsSwitchAndOffRestoresThePanel) {
    const auto [switchIndex, onCode] = GetParam();
    BoxSettings s;
    s.flags = 2u | (1u << 7);  // OFF, Stretch 2 x 2: both bezel sliders usable
    addBox(3, 1, s);
    connect();

    clickSwitch(switchIndex);
    EXPECT_EQ(sentCodes(3), std::vector<int>{onCode});
    EXPECT_EQ(patternActive.load(), 1);
    EXPECT_EQ(controls.switches[static_cast<std::size_t>(switchIndex)].state, 1);
    EXPECT_EQ(controls.switches[static_cast<std::size_t>(3 - switchIndex)].state, 2);
    EXPECT_EQ(controls.switches[ctl::kSerialComSwitch].state, 3);
    EXPECT_EQ(controls.buttons[ctl::kExitButton].state, 3);
    EXPECT_EQ(controls.buttons[ctl::kApplyButton].state, 3);
    EXPECT_EQ(controls.bezelSliders[ctl::kVBezel].state, 2);

    bus.clearWrites();
    clickSwitch(switchIndex);
    EXPECT_EQ(sentCodes(3), std::vector<int>{4});
    EXPECT_EQ(patternActive.load(), 0);
    EXPECT_EQ(controls.switches[ctl::kSerialComSwitch].state, 1);
    EXPECT_EQ(controls.switches[static_cast<std::size_t>(switchIndex)].state, 0);
    EXPECT_EQ(controls.buttons[ctl::kExitButton].state, 0);
    EXPECT_EQ(controls.buttons[ctl::kApplyButton].state, 0);
    EXPECT_EQ(controls.bezelSliders[ctl::kVBezel].state, 0);
    EXPECT_EQ(controls.switches[static_cast<std::size_t>(switchIndex)].pending, 0);
    EXPECT_TRUE(window.errors.empty());
}

TEST_P(PatternSwitchTest, FailuresPutTheSwitchBackAndLeaveExitUsable) {
    const auto [switchIndex, onCode] = GetParam();
    addBox(3, 1);
    connect();
    setFaults(3, "nak=" + std::to_string(onCode));
    clickSwitch(switchIndex);
    EXPECT_EQ(window.errors, std::vector<int>{ui_error::kPatternOn});
    EXPECT_EQ(controls.switches[static_cast<std::size_t>(switchIndex)].state, 0);
    EXPECT_EQ(controls.buttons[ctl::kExitButton].state, 0);
    EXPECT_EQ(patternActive.load(), 0);
    EXPECT_EQ(controls.buttons[ctl::kApplyButton].state, 0);

    setFaults(3, "");
    clickSwitch(switchIndex);
    ASSERT_EQ(patternActive.load(), 1);
    setFaults(3, "nak=4");
    window.clearLog();
    clickSwitch(switchIndex);
    EXPECT_EQ(window.errors, std::vector<int>{ui_error::kPatternOff});
    EXPECT_EQ(controls.switches[static_cast<std::size_t>(switchIndex)].state, 1);
    EXPECT_EQ(controls.buttons[ctl::kExitButton].state, 0);
    EXPECT_EQ(patternActive.load(), 1);
    EXPECT_EQ(controls.buttons[ctl::kApplyButton].state, 3);
}

INSTANTIATE_TEST_SUITE_P(PatternAndRgbw, PatternSwitchTest,
                         ::testing::Values(std::pair{ctl::kPatternSwitch, 3},
                                           std::pair{ctl::kRgbwSwitch, 11}));

TEST_F(ConnectionTest, ChoosingABoxShowsItsSettingsOrErrorFive) {
    addBox(1, 1);
    BoxSettings s;
    s.flags = 1u << 15;
    s.resolutionDp1 = 3;
    addBox(2, 2, s);
    connect();

    controls.deviceBoxGroup[1].state = 1;
    send(msg::DeviceBoxGroup, 1);
    EXPECT_EQ(logic.link.currentBoxIndex(), 1);
    EXPECT_EQ(sentCodes(2), std::vector<int>{kStatus});
    EXPECT_EQ(controls.deviceBoxGroup[0].state, 0);
    EXPECT_EQ(firstOn(controls.frameRateGroup), 1);
    EXPECT_EQ(firstOn(controls.deviceIdGroup), 1);
    EXPECT_EQ(controls.resolutionSliders[ctl::kDp1Slider120].GetStop(), 3);
    EXPECT_EQ(working()[frame_offset::boxId], 2);

    setFaults(1, "silent");
    send(msg::DeviceBoxGroup, 0);
    EXPECT_EQ(window.errors, std::vector<int>{ui_error::kSwitchDevice});
    EXPECT_EQ(logic.link.currentBoxIndex(), 0);
    EXPECT_EQ(firstOn(controls.frameRateGroup), 1);  // still box 1's settings
}

TEST_F(ConnectionTest, KeyboardPatternsAddressTheBoxOfTheKey) {
    addBox(1, 1);
    addBox(2, 2);
    connect();

    send(msg::KeyPattern, 0x33);  // "3": no third box
    EXPECT_TRUE(bus.writeLog().empty());

    send(msg::KeyPattern, 0x32);  // "2": box 1, then the selected box's status again
    EXPECT_EQ(sentCodes(2), std::vector<int>{3});
    EXPECT_EQ(sentCodes(1), std::vector<int>{kStatus});
    EXPECT_TRUE(bus.box(2)->patternOn());

    bus.clearWrites();
    send(msg::KeyRgbwPattern, 0x71);  // F2
    EXPECT_TRUE(bus.box(2)->rgbwPatternOn());
    send(msg::KeyRgbwPattern, 0x41);  // any other code means box 0
    EXPECT_TRUE(bus.box(1)->rgbwPatternOn());
    send(msg::KeyPattern, 0x70);
    EXPECT_TRUE(bus.box(1)->patternOn());

    bus.clearWrites();
    send(msg::KeyAllOff, 0);
    EXPECT_EQ(sentCodes(1), (std::vector<int>{4, kStatus}));
    EXPECT_EQ(sentCodes(2), std::vector<int>{4});
    EXPECT_FALSE(bus.box(1)->patternOn());
    EXPECT_FALSE(bus.box(2)->rgbwPatternOn());
    EXPECT_EQ(escapeInProgress.load(), 0);
    EXPECT_TRUE(window.errors.empty());
}

}  // namespace
}  // namespace quelt::testing

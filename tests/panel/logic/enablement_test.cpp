// Enable rules per control kind, the bezel and DP2 slider rules, and the disconnected state.
#include "panel_fixture.h"

namespace quelt::testing {
namespace {

using EnablementTest = PanelTest;

TEST_F(EnablementTest, DisconnectedPanelLeavesOnlyExitAndSerialComUsable) {
    controls.buttons[ctl::kExitButton].state = 0;
    controls.switches[ctl::kSerialComSwitch].state = 1;
    setPanelEnabled(controls, true);
    setPanelEnabled(controls, false);

    EXPECT_EQ(controls.buttons[ctl::kExitButton].state, 0);
    EXPECT_EQ(controls.switches[ctl::kSerialComSwitch].state, 1);
    EXPECT_EQ(controls.panelLabels[0].disabled, 0);
    for (std::size_t i = 1; i < controls.panelLabels.size(); ++i) {
        EXPECT_EQ(controls.panelLabels[i].disabled, 1) << i;
    }
    for (int b :
         {ctl::kHwResetButton, ctl::kSwResetButton, ctl::kAdvanceButton, ctl::kApplyButton}) {
        EXPECT_EQ(controls.buttons[static_cast<std::size_t>(b)].state, 3);
    }
    EXPECT_EQ(controls.staticImages[9].state, 1);
    EXPECT_EQ(controls.resolutionSliders[3].state, 2);
    EXPECT_EQ(controls.dp2Labels[18].disabled, 1);
    EXPECT_EQ(controls.deviceInfoTexts[5].disabled, 1);
    EXPECT_EQ(controls.switches[ctl::kPatternSwitch].state, 2);
    EXPECT_EQ(controls.syncCheckBox[0].state, 2);
    EXPECT_EQ(controls.deviceBoxGroup[0].state, 2);

    setPanelEnabled(controls, true);
    EXPECT_EQ(controls.panelLabels[35].disabled, 0);
    EXPECT_EQ(controls.buttons[ctl::kApplyButton].state, 0);
    EXPECT_EQ(controls.bezelSliders[ctl::kVBezel].state, 0);
    EXPECT_EQ(controls.staticImages[0].state, 0);
}

struct BezelCase {
    std::uint32_t flags;
    std::uint8_t hLimit;
    ControlState h;
    ControlState v;
};

TEST_F(EnablementTest, BezelSlidersOnlyAt60HzWithClockSyncOffAndAStretchMode) {
    constexpr std::uint32_t off = 2, dp2 = 1;
    constexpr std::uint32_t s1x4 = 1u << 6, s2x2 = 1u << 7, clone = 1u << 5, hz120 = 1u << 15;
    const BezelCase cases[] = {
        {off | s1x4, 100, 0, 2},          // 1 x 4: horizontal only
        {off, 50, 0, 2},                  // 1 x 2: horizontal only
        {off | s2x2, 100, 0, 0},          // 2 x 2: both
        {dp2 | s2x2, 100, 2, 2},          // clock sync on a port: none
        {off | s2x2, 0, 2, 2},            // H limit 0: none
        {off | clone, 100, 2, 2},         // Clone: none
        {off | s2x2 | hz120, 100, 2, 2},  // 120 Hz: none
        {dp2 | hz120, 100, 2, 2},         // 120 Hz: none
        {off | s1x4 | s2x2, 100, 0, 0},   // stretch 3 (never written by the panel): both
        {7u | s1x4, 100, 0, 0},           // clock sync 7: both
        {7u | hz120, 100, 0, 0},          // 120 Hz, clock sync 7: both
    };
    for (const BezelCase& c : cases) {
        DeviceFrame frame = initialWorkingFrame();
        frame.setFlags(c.flags);
        frame[frame_offset::hLimit] = c.hLimit;
        updateBezelEnable(controls, frame);
        EXPECT_EQ(controls.bezelSliders[ctl::kHBezel].state, c.h) << std::hex << c.flags;
        EXPECT_EQ(controls.bezelSliders[ctl::kVBezel].state, c.v) << std::hex << c.flags;
    }
}

TEST_F(EnablementTest, TiedDp2SliderFollowsDp1OfTheSameRateOnly) {
    setPanelEnabled(controls, true);
    auto& r = controls.resolutionSliders;
    r[ctl::kDp1Slider60].SetStop(5);
    r[ctl::kDp2Slider120].SetStop(2);
    DeviceFrame frame = initialWorkingFrame();
    frame.setFlags(1u << 7);  // Stretch 2 x 2, 60 Hz
    updateResolutionEnable(controls, frame);
    EXPECT_EQ(r[ctl::kDp2Slider60].state, 2);
    EXPECT_EQ(r[ctl::kDp2Slider60].GetStop(), 5);
    EXPECT_EQ(controls.dp2Labels[0].disabled, 1);
    EXPECT_EQ(controls.dp2Labels[13].disabled, 1);
    EXPECT_EQ(controls.dp2Labels[14].disabled, 0);
    EXPECT_EQ(r[ctl::kDp2Slider120].state, 0);
    EXPECT_EQ(r[ctl::kDp2Slider120].GetStop(), 2);

    // DP1 on no stop: the tied DP2 slider stays where it is.
    r[ctl::kDp1Slider60].MoveThumb(1);
    updateResolutionEnable(controls, frame);
    EXPECT_EQ(r[ctl::kDp2Slider60].GetStop(), 5);

    // Clone frees it again and it keeps its position.
    frame.setFlags(1u << 5);
    updateResolutionEnable(controls, frame);
    EXPECT_EQ(r[ctl::kDp2Slider60].state, 0);
    EXPECT_EQ(r[ctl::kDp2Slider60].GetStop(), 5);
    EXPECT_EQ(controls.dp2Labels[3].disabled, 0);
}

}  // namespace
}  // namespace quelt::testing

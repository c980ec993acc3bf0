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

constexpr std::uint32_t kMode1x2 = 0, kMode1x4 = 1u << 6, kMode2x2 = 1u << 7, kModeClone = 1u << 5;
constexpr std::uint32_t kHz60 = 0, kHz120 = 1u << 15;
constexpr std::uint32_t kSyncDp1 = 0, kSyncDp2 = 1, kSyncOff = 2;
constexpr ControlState kOn = 0, kOff = 2;

TEST_F(EnablementTest, BezelTableForEveryModeRateAndClockSync) {
    struct Row {
        std::uint32_t mode, rate, sync;
        std::uint8_t hLimit;
        ControlState h, v;
    };
    const Row rows[] = {
        {kMode1x2, kHz60, kSyncDp1, 50, kOff, kOff},
        {kMode1x2, kHz60, kSyncDp2, 50, kOff, kOff},
        {kMode1x2, kHz60, kSyncOff, 50, kOn, kOff},
        {kMode1x4, kHz60, kSyncDp1, 50, kOff, kOff},
        {kMode1x4, kHz60, kSyncDp2, 50, kOff, kOff},
        {kMode1x4, kHz60, kSyncOff, 50, kOn, kOff},
        {kMode2x2, kHz60, kSyncDp1, 50, kOff, kOff},
        {kMode2x2, kHz60, kSyncDp2, 50, kOff, kOff},
        {kMode2x2, kHz60, kSyncOff, 50, kOn, kOn},
        {kModeClone, kHz60, kSyncDp1, 50, kOff, kOff},
        {kModeClone, kHz60, kSyncDp2, 50, kOff, kOff},
        {kModeClone, kHz60, kSyncOff, 50, kOff, kOff},
        {kMode1x2, kHz120, kSyncDp1, 50, kOff, kOff},
        {kMode1x2, kHz120, kSyncDp2, 50, kOff, kOff},
        {kMode1x2, kHz120, kSyncOff, 50, kOff, kOff},
        {kMode1x4, kHz120, kSyncDp1, 50, kOff, kOff},
        {kMode1x4, kHz120, kSyncDp2, 50, kOff, kOff},
        {kMode1x4, kHz120, kSyncOff, 50, kOff, kOff},
        {kMode2x2, kHz120, kSyncDp1, 50, kOff, kOff},
        {kMode2x2, kHz120, kSyncDp2, 50, kOff, kOff},
        {kMode2x2, kHz120, kSyncOff, 50, kOff, kOff},
        {kModeClone, kHz120, kSyncDp1, 50, kOff, kOff},
        {kModeClone, kHz120, kSyncDp2, 50, kOff, kOff},
        {kModeClone, kHz120, kSyncOff, 50, kOff, kOff},
        {kMode1x2, kHz60, kSyncOff, 0, kOff, kOff},
        {kMode2x2, kHz60, kSyncOff, 0, kOff, kOff},
        {kMode2x2, kHz60, kSyncOff, 250, kOn, kOn},
    };
    for (const Row& r : rows) {
        for (ControlState before : {kOn, kOff}) {
            controls.bezelSliders[ctl::kHBezel].state = before;
            controls.bezelSliders[ctl::kVBezel].state = before;
            DeviceFrame frame = initialWorkingFrame();
            frame.setFlags(r.mode | r.rate | r.sync);
            frame[frame_offset::hLimit] = r.hLimit;
            updateBezelEnable(controls, frame);
            const std::string row = "mode " + std::to_string(r.mode) + " rate " +
                                    std::to_string(r.rate) + " sync " + std::to_string(r.sync) +
                                    " H limit " + std::to_string(r.hLimit);
            EXPECT_EQ(controls.bezelSliders[ctl::kHBezel].state, r.h) << row;
            EXPECT_EQ(controls.bezelSliders[ctl::kVBezel].state, r.v) << row;
        }
    }
}

TEST_F(EnablementTest, Dp2RuleTouchesOnlyTheSliderAndLabelsOfTheFramesRate) {
    struct Row {
        std::uint32_t mode, rate;
        bool tied;
    };
    const Row rows[] = {
        {kMode1x2, kHz60, false},
        {kMode1x4, kHz60, true},
        {kMode2x2, kHz60, true},
        {kModeClone, kHz60, false},
        {kMode1x4 | kMode2x2, kHz60, true},
        {kMode1x2, kHz120, false},
        {kMode1x4, kHz120, true},
        {kMode2x2, kHz120, true},
        {kModeClone, kHz120, false},
    };
    constexpr int kUntouched = 7;
    for (const Row& r : rows) {
        for (auto& slider : controls.resolutionSliders) {
            slider.state = 1;
        }
        for (auto& label : controls.dp2Labels) {
            label.disabled = kUntouched;
        }
        DeviceFrame frame = initialWorkingFrame();
        frame.setFlags(r.mode | r.rate);
        updateResolutionEnable(controls, frame);

        const bool at120 = r.rate == kHz120;
        const std::string row = "mode " + std::to_string(r.mode) + (at120 ? " 120 Hz" : " 60 Hz");
        EXPECT_EQ(controls.resolutionSliders[at120 ? 3 : 1].state, r.tied ? 2 : 0) << row;
        EXPECT_EQ(controls.resolutionSliders[at120 ? 1 : 3].state, 1) << row;
        EXPECT_EQ(controls.resolutionSliders[0].state, 1) << row;
        EXPECT_EQ(controls.resolutionSliders[2].state, 1) << row;
        for (int k = 0; k < 19; ++k) {
            const bool ofThisRate = at120 ? k >= 14 : k < 14;
            EXPECT_EQ(controls.dp2Labels[static_cast<std::size_t>(k)].disabled,
                      ofThisRate ? (r.tied ? 1 : 0) : kUntouched)
                << row << ", DP2 label " << k;
        }
    }
}

TEST_F(EnablementTest, PanelSwitchReachesEveryControlItNamesAndNoOther) {
    // Every control this test looks at, with its value when disabled and when enabled; the
    // two-state controls start off, the Exit button pressed, the Serial COM switch on.
    struct Probe {
        std::string name;
        std::int32_t* field;
        std::int32_t disabled, enabled;
    };
    std::vector<Probe> probes;
    auto add = [&probes](const std::string& name, std::int32_t& field, std::int32_t disabled,
                         std::int32_t enabled) {
        probes.push_back({name, &field, disabled, enabled});
    };
    auto addTexts = [&add](const std::string& name, auto& texts, std::size_t first) {
        for (std::size_t i = first; i < texts.size(); ++i) {
            add(name + " " + std::to_string(i), texts[i].disabled, 1, 0);
        }
    };
    auto addStates = [&add](const std::string& name, auto& group, std::int32_t disabled,
                            std::int32_t enabled) {
        for (std::size_t i = 0; i < group.size(); ++i) {
            group[i].state = enabled;
            add(name + " " + std::to_string(i), group[i].state, disabled, enabled);
        }
    };
    addTexts("panel label", controls.panelLabels, 1);
    addTexts("device info text", controls.deviceInfoTexts, 0);
    addTexts("DP1 label", controls.dp1Labels, 0);
    addTexts("DP2 label", controls.dp2Labels, 0);
    addTexts("bezel text", controls.bezelTexts, 0);
    addStates("static image", controls.staticImages, 1, 0);
    addStates("check box", controls.syncCheckBox, 2, 0);
    addStates("mode", controls.modeGroup, 2, 0);
    addStates("clock sync", controls.clockSyncGroup, 2, 0);
    addStates("frame rate", controls.frameRateGroup, 2, 0);
    addStates("H limit", controls.hLimitGroup, 2, 0);
    addStates("V limit", controls.vLimitGroup, 2, 0);
    addStates("device box", controls.deviceBoxGroup, 2, 0);
    addStates("device ID", controls.deviceIdGroup, 2, 0);
    addStates("resolution slider", controls.resolutionSliders, 2, 0);
    addStates("bezel slider", controls.bezelSliders, 2, 0);
    for (int b : {1, 2, 3, 4}) {
        controls.buttons[static_cast<std::size_t>(b)].state = 0;
        add("button " + std::to_string(b), controls.buttons[static_cast<std::size_t>(b)].state, 3,
            0);
    }
    for (int s : {1, 2}) {
        controls.switches[static_cast<std::size_t>(s)].state = 0;
        add("switch " + std::to_string(s), controls.switches[static_cast<std::size_t>(s)].state, 2,
            0);
    }
    controls.panelLabels[0].disabled = 0;
    add("title", controls.panelLabels[0].disabled, 0, 0);
    controls.buttons[0].state = 2;
    add("Exit button", controls.buttons[0].state, 2, 2);
    controls.switches[0].state = 1;
    add("Serial COM switch", controls.switches[0].state, 1, 1);
    // A member that is on stays on through both rules.
    controls.hLimitGroup[2].state = 1;
    for (Probe& p : probes) {
        if (p.field == &controls.hLimitGroup[2].state) {
            p.disabled = 3;
            p.enabled = 1;
        }
    }

    for (bool enable : {false, true}) {
        setPanelEnabled(controls, enable);
        for (const Probe& p : probes) {
            EXPECT_EQ(*p.field, enable ? p.enabled : p.disabled)
                << p.name << (enable ? " after enabling" : " after disabling");
        }
    }
}

}  // namespace
}  // namespace quelt::testing

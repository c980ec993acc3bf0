// Frame <-> controls mapping, resolution labels and the rebuilt bezel sliders.
#include <span>

#include "panel_fixture.h"

namespace quelt::testing {
namespace {

using MappingTest = PanelTest;

DeviceFrame frameWith(std::uint32_t flags) {
    DeviceFrame frame = initialWorkingFrame();
    frame.setFlags(flags);
    return frame;
}

constexpr std::uint32_t kClone = 1u << 5;
constexpr std::uint32_t kStretch1x4 = 1u << 6;
constexpr std::uint32_t kStretch2x2 = 1u << 7;
constexpr std::uint32_t k120Hz = 1u << 15;

TEST_F(MappingTest, LabelsFollowTheListAndTheDp1StopsOfTheFramesRate) {
    logic.mapping.refreshResolutionLabels(frameWith(0));
    EXPECT_EQ(controls.dp1Labels[0].text, "2048 x 768");
    EXPECT_EQ(controls.dp2Labels[13].text, "3840 x 1200");
    // DP1 slider at 60 Hz: 14 stops from 322 to 636, 24 apart.
    EXPECT_EQ(controls.dp1Labels[0].rect, (SkinRect{219, 322, 333, 341}));
    EXPECT_EQ(controls.dp2Labels[1].rect, (SkinRect{385, 346, 500, 365}));
    EXPECT_EQ(controls.dp2Labels[13].rect, (SkinRect{385, 636, 500, 655}));
    EXPECT_EQ(controls.stops60.size(), 14u);
    EXPECT_EQ(controls.stops120.size(), 5u);

    // Clone wins over the stretch field; at 120 Hz only labels 14-18 change.
    logic.mapping.refreshResolutionLabels(frameWith(kClone | kStretch1x4 | k120Hz));
    EXPECT_EQ(controls.dp1Labels[14].text, "1024 x 768");
    EXPECT_EQ(controls.dp2Labels[18].text, "1280 x 1024");
    EXPECT_EQ(controls.dp1Labels[15].rect, (SkinRect{219, 400, 333, 419}));
    EXPECT_EQ(controls.dp1Labels[0].text, "2048 x 768");

    // Stretch value 3 selects the Clone list.
    logic.mapping.refreshResolutionLabels(frameWith(kStretch1x4 | kStretch2x2));
    EXPECT_EQ(controls.dp1Labels[5].text, "1366 x 768");
}

TEST_F(MappingTest, PanelToFrameFirstMemberOnWinsAndEmptyGroupsKeepTheirField) {
    DeviceFrame frame = frameWith(0xABCD0000u | kStretch2x2 | 2u);
    frame[frame_offset::hLimit] = 0;
    frame[frame_offset::boxId] = 5;

    for (auto& member : controls.modeGroup) {
        member.state = 0;
    }
    for (auto& member : controls.deviceIdGroup) {
        member.state = 0;
    }
    controls.modeGroup[1].state = 1;  // Stretch 1 x 4 ...
    controls.modeGroup[3].state = 3;  // ... loses to Clone, which counts although disabled
    controls.clockSyncGroup[0].state = 0;
    controls.clockSyncGroup[1].state = 1;
    controls.clockSyncGroup[2].state = 1;
    controls.frameRateGroup[0].state = 0;
    controls.frameRateGroup[1].state = 1;
    controls.hLimitGroup[0].state = 1;  // member 0 is not read: hLimit stays
    controls.vLimitGroup[0].state = 0;
    controls.vLimitGroup[2].state = 1;
    controls.resolutionSliders[ctl::kDp1Slider120].SetStop(3);
    controls.resolutionSliders[ctl::kDp2Slider120].MoveThumb(999);  // on no stop
    controls.resolutionSliders[ctl::kDp1Slider60].SetStop(9);

    logic.mapping.panelToFrame(frame);
    EXPECT_EQ(frame.flags(), 0xABCD0000u | k120Hz | kClone | 1u);
    EXPECT_EQ(frame[frame_offset::hLimit], 0);
    EXPECT_EQ(frame[frame_offset::vLimit], 45);
    EXPECT_EQ(frame[frame_offset::boxId], 5);
    EXPECT_EQ(frame[frame_offset::resolutionDp1], 3);
    EXPECT_EQ(frame[frame_offset::resolutionDp2], 0xFF);

    // No mode member on: bits 5-7 are kept as they are.
    for (auto& member : controls.modeGroup) {
        member.state = 0;
    }
    frame.setFlags(kStretch1x4 | kStretch2x2);
    logic.mapping.panelToFrame(frame);
    EXPECT_EQ(frame.stretch(), 3u);
    EXPECT_FALSE(frame.clone());
}

TEST_F(MappingTest, FramesToPanelMapsOddValuesToTheLastMembers) {
    setPanelEnabled(controls, true);
    DeviceFrame frame = frameWith(kStretch1x4 | kStretch2x2 | 5u);
    frame[frame_offset::hLimit] = 7;
    frame[frame_offset::vLimit] = 0;
    frame[frame_offset::boxId] = 9;
    logic.mapping.framesToPanel(frame);

    for (const auto& member : controls.modeGroup) {
        EXPECT_EQ(member.state, 0);  // stretch 3: no mode shown
    }
    EXPECT_EQ(firstOn(controls.clockSyncGroup), 2);
    EXPECT_EQ(firstOn(controls.hLimitGroup), 5);
    EXPECT_EQ(firstOn(controls.vLimitGroup), 3);
    EXPECT_EQ(firstOn(controls.deviceIdGroup), 0);
    // The bezel sliders are rebuilt for the frame's limits (7 and 0), not for the shown ones.
    EXPECT_EQ(controls.bezelSliders[ctl::kHBezel].stopCount, 8);
    EXPECT_EQ(controls.bezelSliders[ctl::kVBezel].stopCount, 1);

    frame[frame_offset::boxId] = 0;
    frame[frame_offset::hLimit] = 150;
    logic.mapping.framesToPanel(frame);
    EXPECT_EQ(firstOn(controls.deviceIdGroup), 0);
    EXPECT_EQ(firstOn(controls.hLimitGroup), 3);
}

TEST_F(MappingTest, EveryLimitAndIdValueShowsItsMemberAndGoesBackUnchanged) {
    struct Row {
        int offset;
        std::uint8_t value;
        std::span<SkinRadioButton> group;
        int member;
    };
    const Row rows[] = {
        {frame_offset::hLimit, 0, controls.hLimitGroup, 0},
        {frame_offset::hLimit, 50, controls.hLimitGroup, 1},
        {frame_offset::hLimit, 100, controls.hLimitGroup, 2},
        {frame_offset::hLimit, 150, controls.hLimitGroup, 3},
        {frame_offset::hLimit, 200, controls.hLimitGroup, 4},
        {frame_offset::hLimit, 250, controls.hLimitGroup, 5},
        {frame_offset::vLimit, 15, controls.vLimitGroup, 0},
        {frame_offset::vLimit, 30, controls.vLimitGroup, 1},
        {frame_offset::vLimit, 45, controls.vLimitGroup, 2},
        {frame_offset::vLimit, 60, controls.vLimitGroup, 3},
        {frame_offset::boxId, 1, controls.deviceIdGroup, 0},
        {frame_offset::boxId, 2, controls.deviceIdGroup, 1},
        {frame_offset::boxId, 3, controls.deviceIdGroup, 2},
        {frame_offset::boxId, 4, controls.deviceIdGroup, 3},
        {frame_offset::boxId, 5, controls.deviceIdGroup, 4},
        {frame_offset::boxId, 6, controls.deviceIdGroup, 5},
    };
    setPanelEnabled(controls, true);
    for (const Row& r : rows) {
        DeviceFrame shown = frameWith(0);
        shown[static_cast<std::size_t>(r.offset)] = r.value;
        logic.mapping.framesToPanel(shown);
        EXPECT_EQ(firstOn(r.group), r.member) << "byte " << r.offset << " = " << int{r.value};

        // Back into a frame that holds something else; H limit member 0 writes nothing.
        DeviceFrame back = frameWith(0);
        back[static_cast<std::size_t>(r.offset)] = 0x77;
        logic.mapping.panelToFrame(back);
        const bool hLimitZero = r.offset == frame_offset::hLimit && r.member == 0;
        EXPECT_EQ(back[static_cast<std::size_t>(r.offset)], hLimitZero ? 0x77 : r.value)
            << "byte " << r.offset << " = " << int{r.value};
    }
}

TEST_F(MappingTest, FramesToPanelMovesSlidersWithSignedResolutionsAndUnsignedBezels) {
    DeviceFrame frame = frameWith(0);
    frame[frame_offset::resolutionDp1] = 7;  // beyond the 120 Hz slider's 5 stops
    frame[frame_offset::resolutionDp2] = 2;
    frame[frame_offset::hLimit] = 200;
    frame[frame_offset::hBezel] = 150;  // above 127: read unsigned
    frame[frame_offset::vLimit] = 60;
    frame[frame_offset::vBezel] = 45;
    controls.resolutionSliders[ctl::kDp1Slider120].SetStop(1);
    logic.mapping.framesToPanel(frame);

    const auto& r = controls.resolutionSliders;
    EXPECT_EQ(r[ctl::kDp1Slider60].GetStop(), 7);
    EXPECT_EQ(r[ctl::kDp1Slider120].GetStop(), 1);
    EXPECT_EQ(r[ctl::kDp2Slider60].GetStop(), 2);
    EXPECT_EQ(r[ctl::kDp2Slider120].GetStop(), 2);
    EXPECT_EQ(controls.bezelSliders[ctl::kHBezel].GetStop(), 150);
    EXPECT_EQ(controls.bezelSliders[ctl::kVBezel].GetStop(), 45);
    // Each rebuilt slider posted its message; handled later, it writes the stop back.
    EXPECT_EQ(window.postLog(),
              (std::vector<Post>{{msg::HBezelSlider, 0}, {msg::VBezelSlider, 1}}));

    // 0xFF is "no choice": the resolution sliders stay where they are.
    frame[frame_offset::resolutionDp1] = 0xFF;
    frame[frame_offset::resolutionDp2] = 0xFF;
    logic.mapping.framesToPanel(frame);
    EXPECT_EQ(r[ctl::kDp1Slider60].GetStop(), 7);
    EXPECT_EQ(r[ctl::kDp2Slider60].GetStop(), 2);
}

TEST_F(MappingTest, DisabledPanelKeepsItsRadioButtonsButStillMovesSliders) {
    // The panel starts disconnected: every group disabled.
    DeviceFrame frame = frameWith(kClone | 1u);
    frame[frame_offset::resolutionDp1] = 4;
    logic.mapping.framesToPanel(frame);
    EXPECT_EQ(controls.modeGroup[0].state, 3);
    EXPECT_EQ(controls.modeGroup[3].state, 2);
    EXPECT_EQ(controls.clockSyncGroup[1].state, 2);
    EXPECT_EQ(controls.resolutionSliders[ctl::kDp1Slider60].GetStop(), 4);
    EXPECT_EQ(controls.resolutionSliders[ctl::kDp1Slider60].state, 2);
    // The rebuilt bezel sliders start usable.
    EXPECT_EQ(controls.bezelSliders[ctl::kHBezel].state, 0);
}

TEST_F(MappingTest, RebuiltBezelSliderHasLimitPlusOneStopsOverItsBar) {
    logic.mapping.setSkinRoot("skin/");
    logic.mapping.rebuildBezelSlider(BezelAxis::Horizontal, 50);
    const SkinSlider& h = controls.bezelSliders[ctl::kHBezel];
    EXPECT_EQ(h.stopCount, 51);
    ASSERT_EQ(h.stops.size(), 51u);
    EXPECT_EQ(h.stops.front(), 493 - 18);
    EXPECT_EQ(h.stops[1], 493 + 10 - 18);
    EXPECT_EQ(h.stops.back(), 1029 - 18);
    EXPECT_EQ(h.GetStop(), 0);
    EXPECT_EQ(h.orientation, 0);
    EXPECT_EQ(h.thumbPath, "skin/GUIFrameMain\\GUIFrameMainCtrlSlider_BezelHBtn.kesp");
    EXPECT_EQ(h.message, static_cast<std::int32_t>(msg::HBezelSlider));

    controls.bezelSliders[ctl::kVBezel].state = 2;
    controls.bezelSliders[ctl::kVBezel].pending = 1;
    logic.mapping.rebuildBezelSlider(BezelAxis::Vertical, 0);
    const SkinSlider& v = controls.bezelSliders[ctl::kVBezel];
    EXPECT_EQ(v.stopCount, 1);
    EXPECT_EQ(v.stops, std::vector<std::int32_t>{331 - 9});
    EXPECT_EQ(v.state, 0);
    EXPECT_EQ(v.pending, 0);
    EXPECT_EQ(v.visible, 1);
    EXPECT_EQ(v.barPath, "skin/GUIFrameMain\\GUIFrameMainCtrlSlider_BezelVBar.kesp");
    EXPECT_EQ(window.postLog(),
              (std::vector<Post>{{msg::HBezelSlider, 0}, {msg::VBezelSlider, 1}}));
}

TEST_F(MappingTest, StartUpPreparesTheDisconnectedPanel) {
    EXPECT_EQ(controls.panelLabels[0].text, "Quelt Control Center - v1.05a");
    EXPECT_EQ(controls.panelLabels[0].disabled, 0);
    EXPECT_EQ(controls.dp1Labels[0].text, "2048 x 768");
    EXPECT_EQ(controls.bezelSliders[ctl::kHBezel].stopCount, 51);
    EXPECT_EQ(controls.bezelSliders[ctl::kVBezel].stopCount, 16);
    // The posted bezel messages were handled: texts show the stops.
    EXPECT_EQ(controls.bezelTexts[0].text, "HBezel = 0");
    EXPECT_EQ(controls.bezelTexts[1].text, "VBezel = 0");
    EXPECT_EQ(controls.bezelSliders[ctl::kHBezel].state, 2);
}

}  // namespace
}  // namespace quelt::testing

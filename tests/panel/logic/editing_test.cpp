// The operator's edits: radio groups and sliders write the working frame at once and keep the
// labels, bezel sliders and slider rules in step.
#include "panel_fixture.h"

namespace quelt::testing {
namespace {

class EditingTest : public PanelTest {
  protected:
    // A connected box at 60 Hz, clock sync OFF, Stretch 2 x 2, H limit 100, V limit 30, both
    // bezel amounts away from 0.
    void connectStretch2x2() {
        BoxSettings s;
        s.flags = 2u | (1u << 7);
        s.resolutionDp1 = 2;
        s.resolutionDp2 = 2;
        s.hLimit = 100;
        s.vLimit = 30;
        s.hBezel = 20;
        s.vBezel = 10;
        addBox(3, 2, s);
        connect();
    }
    void choose(std::uint32_t message, std::array<SkinRadioButton, 6>& group, int member) {
        group[static_cast<std::size_t>(member)].state = 1;
        group[static_cast<std::size_t>(member)].pending = 1;
        send(message, static_cast<std::uintptr_t>(member));
    }
};

TEST_F(EditingTest, HLimitZeroResetsBothBezelsAndRebuildsTheHSlider) {
    connectStretch2x2();
    ASSERT_EQ(controls.bezelSliders[ctl::kHBezel].GetStop(), 20);
    ASSERT_EQ(controls.bezelSliders[ctl::kVBezel].GetStop(), 10);
    choose(msg::HLimitGroup, controls.hLimitGroup, 0);

    EXPECT_EQ(postedMessages(), (std::vector<std::uint32_t>{msg::HLimitGroup, msg::HBezelSlider,
                                                            msg::VBezelSlider, msg::HBezelSlider}));
    EXPECT_EQ(controls.hLimitGroup[0].pending, 0);
    EXPECT_EQ(firstOn(controls.hLimitGroup), 0);
    EXPECT_EQ(controls.bezelSliders[ctl::kHBezel].stopCount, 1);
    EXPECT_EQ(controls.bezelSliders[ctl::kVBezel].stopCount, 31);
    EXPECT_EQ(controls.bezelSliders[ctl::kVBezel].GetStop(), 0);
    const DeviceFrame w = working();
    EXPECT_EQ(w[frame_offset::hLimit], 0);
    EXPECT_EQ(w[frame_offset::hBezel], 0);
    EXPECT_EQ(w[frame_offset::vBezel], 0);
    EXPECT_EQ(controls.bezelTexts[0].text, "HBezel = 0");
    EXPECT_EQ(controls.bezelTexts[1].text, "VBezel = 0");
    EXPECT_EQ(controls.bezelSliders[ctl::kHBezel].state, 2);
    EXPECT_EQ(controls.bezelSliders[ctl::kVBezel].state, 2);

    // The limit 0 travels only through the handler: panelToFrame leaves it alone.
    apply();
    EXPECT_EQ(sentFrames(3)[0][frame_offset::hLimit], 0);

    // Choosing 250 rebuilds with 251 stops; the V limit group rebuilds V.
    window.clearLog();
    choose(msg::HLimitGroup, controls.hLimitGroup, 5);
    EXPECT_EQ(working()[frame_offset::hLimit], 250);
    EXPECT_EQ(controls.bezelSliders[ctl::kHBezel].stopCount, 251);
    EXPECT_EQ(controls.bezelSliders[ctl::kHBezel].state, 0);
    controls.vLimitGroup[3].state = 1;
    send(msg::VLimitGroup, 3);
    EXPECT_EQ(working()[frame_offset::vLimit], 60);
    EXPECT_EQ(controls.bezelSliders[ctl::kVBezel].stopCount, 61);
    EXPECT_EQ(controls.bezelSliders[ctl::kVBezel].state, 0);
}

TEST_F(EditingTest, MovingDp1ResetsTheBezelsAndTiedDp2Follows) {
    connectStretch2x2();
    auto& dp1 = controls.resolutionSliders[ctl::kDp1Slider60];
    auto& dp2 = controls.resolutionSliders[ctl::kDp2Slider60];
    ASSERT_EQ(dp2.state, 2);  // Stretch 2 x 2 ties DP2
    dp1.SetStop(9);
    dp1.pending = 1;
    send(msg::Dp1Slider, ctl::kDp1Slider60);

    EXPECT_EQ(dp2.GetStop(), 9);
    EXPECT_EQ(dp1.pending, 0);
    EXPECT_EQ(controls.bezelSliders[ctl::kHBezel].GetStop(), 0);
    EXPECT_EQ(controls.bezelSliders[ctl::kVBezel].GetStop(), 0);
    DeviceFrame w = working();
    EXPECT_EQ(w[frame_offset::resolutionDp1], 9);
    EXPECT_EQ(w[frame_offset::resolutionDp2], 2);  // DP2 is read again by Apply
    EXPECT_EQ(w[frame_offset::hBezel], 0);
    EXPECT_EQ(w[frame_offset::vBezel], 0);
    EXPECT_EQ(controls.bezelTexts[1].text, "VBezel = 0");

    apply();
    EXPECT_EQ(sentFrames(3)[0][frame_offset::resolutionDp2], 9);

    // With the bezels already at 0 nothing more is posted; a thumb on no stop reads 0xFF.
    window.clearLog();
    dp1.MoveThumb(1);
    send(msg::Dp1Slider, ctl::kDp1Slider60);
    EXPECT_EQ(postedMessages(), std::vector<std::uint32_t>{msg::Dp1Slider});
    EXPECT_EQ(working()[frame_offset::resolutionDp1], 0xFF);
}

TEST_F(EditingTest, FreeDp2WritesItsOwnStop) {
    addBox(3, 2);  // Stretch 1 x 2: DP2 free
    connect();
    auto& dp2 = controls.resolutionSliders[ctl::kDp2Slider60];
    EXPECT_EQ(dp2.state, 0);
    dp2.SetStop(11);
    dp2.pending = 1;
    send(msg::Dp2Slider, ctl::kDp2Slider60);
    EXPECT_EQ(working()[frame_offset::resolutionDp2], 11);
    EXPECT_EQ(dp2.pending, 0);
    EXPECT_EQ(window.redraws, 0);  // the pointer input repaints
}

TEST_F(EditingTest, ModeClockSyncAndFrameRateRewriteTheFrameAndTheirRules) {
    addBox(3, 2);
    connect();
    DeviceFrame box = logic.link.deviceFrame();

    controls.modeGroup[1].state = 1;
    send(msg::ModeGroup, 1);
    EXPECT_EQ(working().stretch(), 1u);
    EXPECT_EQ(controls.dp1Labels[0].text, "4096 x 768");
    EXPECT_EQ(controls.resolutionSliders[ctl::kDp2Slider60].state, 2);
    EXPECT_EQ(firstOn(controls.modeGroup), 1);

    controls.clockSyncGroup[2].state = 1;
    send(msg::ClockSyncGroup, 2);
    EXPECT_EQ(working().clockSync(), 2u);
    EXPECT_EQ(controls.bezelSliders[ctl::kHBezel].state, 0);
    EXPECT_EQ(controls.bezelSliders[ctl::kVBezel].state, 2);

    controls.frameRateGroup[1].state = 1;
    send(msg::FrameRateGroup, 1);
    EXPECT_TRUE(working().is120Hz());
    EXPECT_EQ(controls.dp1Labels[14].text, "4096 x 768");
    EXPECT_EQ(controls.resolutionSliders[ctl::kDp2Slider120].state, 2);
    // Bezel rules are only re-applied by the next handler that applies them.
    EXPECT_EQ(controls.bezelSliders[ctl::kHBezel].state, 0);

    controls.modeGroup[3].state = 1;
    send(msg::ModeGroup, 3);
    EXPECT_TRUE(working().clone());
    EXPECT_EQ(working().stretch(), 0u);
    EXPECT_EQ(controls.dp1Labels[14].text, "1024 x 768");
    EXPECT_EQ(controls.resolutionSliders[ctl::kDp2Slider120].state, 0);
    EXPECT_EQ(controls.bezelSliders[ctl::kHBezel].state, 2);

    // Out-of-range choices change nothing in the frame; the device fields are never touched.
    const DeviceFrame before = working();
    send(msg::ModeGroup, 4);
    send(msg::ClockSyncGroup, 3);
    send(msg::FrameRateGroup, 2);
    send(msg::DeviceIdGroup, 6);
    EXPECT_EQ(working(), before);
    EXPECT_EQ(working().flags() & 0xFFFF7F00u, box.flags() & 0xFFFF7F00u);
}

TEST_F(EditingTest, EveryLimitAndIdMemberWritesItsValueAtOnce) {
    struct Row {
        std::uint32_t message;
        int member;
        int offset;
        std::uint8_t value;
    };
    const Row rows[] = {
        {1328, 1, frame_offset::hLimit, 50},  {1328, 2, frame_offset::hLimit, 100},
        {1328, 3, frame_offset::hLimit, 150}, {1328, 4, frame_offset::hLimit, 200},
        {1328, 5, frame_offset::hLimit, 250}, {1328, 0, frame_offset::hLimit, 0},
        {1329, 0, frame_offset::vLimit, 15},  {1329, 1, frame_offset::vLimit, 30},
        {1329, 2, frame_offset::vLimit, 45},  {1329, 3, frame_offset::vLimit, 60},
        {1331, 0, frame_offset::boxId, 1},    {1331, 1, frame_offset::boxId, 2},
        {1331, 2, frame_offset::boxId, 3},    {1331, 3, frame_offset::boxId, 4},
        {1331, 4, frame_offset::boxId, 5},    {1331, 5, frame_offset::boxId, 6},
    };
    addBox(3, 2);
    connect();
    for (const Row& r : rows) {
        send(r.message, static_cast<std::uintptr_t>(r.member));
        EXPECT_EQ(working()[static_cast<std::size_t>(r.offset)], r.value)
            << "message " << r.message << " member " << r.member;
    }
}

TEST_F(EditingTest, DeviceIdFourIsWrittenAtOnceButSentOnlyByApply) {
    addBox(3, 2);
    connect();
    choose(msg::DeviceIdGroup, controls.deviceIdGroup, 3);
    EXPECT_EQ(working()[frame_offset::boxId], 4);
    EXPECT_EQ(firstOn(controls.deviceIdGroup), 3);
    EXPECT_EQ(controls.deviceIdGroup[1].state, 0);
    EXPECT_EQ(controls.deviceIdGroup[3].pending, 0);
    EXPECT_TRUE(bus.writeLog().empty());
    EXPECT_EQ(window.redraws, 1);
}

}  // namespace
}  // namespace quelt::testing

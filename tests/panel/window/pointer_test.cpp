// Pointer input of the main panel: caption zone, busy state, buttons, radio items, switches,
// sliders and hidden controls, with the messages they post.
#include <gtest/gtest.h>

#include <span>

#include "panel/panel_messages.h"
#include "panel_fixture.h"

namespace quelt::test {
namespace {

class PanelPointer : public ::testing::Test {
  protected:
    void SetUp() override {
        h.start();
        h.panelHost->clearEvents();
    }

    // Messages posted since the last clearEvents, as (message, wParam).
    std::vector<std::pair<std::uint32_t, std::uintptr_t>> Posted() const {
        std::vector<std::pair<std::uint32_t, std::uintptr_t>> posted;
        for (const HostEvent& event : h.posts()) {
            posted.emplace_back(event.message, event.wParam);
        }
        return posted;
    }
    using Posts = std::vector<std::pair<std::uint32_t, std::uintptr_t>>;

    SkinCopy skin;
    PanelHarness h{skin.base()};
};

TEST_F(PanelPointer, CaptionZoneEndsAtX1069AndY32) {
    h.press(1069, 32);
    ASSERT_EQ(h.panelHost->eventsOf(HostCall::CaptionDrag).size(), 1u);
    EXPECT_FALSE(h.panelHost->hasCapture());

    h.panelHost->clearEvents();
    h.press(1070, 32);
    h.release(1070, 32);
    h.press(1069, 33);
    h.release(1069, 33);
    EXPECT_TRUE(h.panelHost->eventsOf(HostCall::CaptionDrag).empty());

    // Just right of the zone lies the Exit button.
    h.press(1070, 10);
    EXPECT_EQ(h.c().buttons[ctl::kExitButton].state, 2);
}

TEST_F(PanelPointer, WhileBusyInputChangesNothingButTheWindowStillDrags) {
    h.panel->busyFlag() = 1;
    h.press(200, 70);  // Pattern switch
    h.release(200, 70);
    EXPECT_EQ(h.c().switches[ctl::kPatternSwitch].state, 0);
    EXPECT_TRUE(Posted().empty());
    EXPECT_FALSE(h.panelHost->hasCapture());
    EXPECT_TRUE(h.panelHost->eventsOf(HostCall::Present).empty());

    h.move(1000, 70);  // over Apply
    EXPECT_EQ(h.panelHost->cursor(), CursorShape::Arrow);

    h.press(500, 10);
    EXPECT_EQ(h.panelHost->eventsOf(HostCall::CaptionDrag).size(), 1u);
}

TEST_F(PanelPointer, ApplyPostsOnlyWhenReleasedOnIt) {
    SkinButton& apply = h.c().buttons[ctl::kApplyButton];
    h.press(1000, 70);
    EXPECT_EQ(apply.state, 2);
    EXPECT_TRUE(h.panelHost->hasCapture());
    h.move(10, 400);
    EXPECT_EQ(apply.state, 2);  // stays pressed while the pointer wanders
    h.release(10, 400);
    EXPECT_EQ(apply.state, 0);
    EXPECT_FALSE(h.panelHost->hasCapture());
    EXPECT_TRUE(Posted().empty());

    h.press(1000, 70);
    h.move(10, 400);
    h.move(1001, 71);
    h.release(1001, 71);
    EXPECT_EQ(Posted(), (Posts{{msg::ApplyButton, 4}}));
    EXPECT_EQ(apply.state, 0);
}

TEST_F(PanelPointer, RadioItemAlreadyOnDoesNothingAnOffItemPostsItsIndex) {
    h.press(175, 150);  // Mode item 0, on
    h.release(175, 150);
    EXPECT_TRUE(Posted().empty());
    EXPECT_EQ(h.c().modeGroup[0].state, 1);

    h.press(175, 170);  // Mode item 1
    EXPECT_EQ(Posted(), (Posts{{msg::ModeGroup, 1}}));
    EXPECT_EQ(h.c().modeGroup[1].state, 1);
}

TEST_F(PanelPointer, TwoPressesBeforeTheHandlerPostOnceAndTheHandlerReleases) {
    SkinSwitch& pattern = h.c().switches[ctl::kPatternSwitch];
    h.press(200, 70);
    h.release(200, 70);
    h.panelHost->injectDoubleClick(200, 70);  // the second click of a double-click
    h.release(200, 70);
    EXPECT_EQ(pattern.state, 0);
    EXPECT_EQ(Posted(), (Posts{{msg::PatternSwitch, 1}}));

    h.pump();  // the handler releases the switch: it may post again
    EXPECT_EQ(pattern.pending, 0);
    h.press(200, 70);
    EXPECT_EQ(Posted().size(), 2u);
}

TEST_F(PanelPointer, DisabledSliderNeitherDragsNorPosts) {
    SkinSlider& bezel = h.c().bezelSliders[ctl::kHBezel];
    bezel.state = 2;
    h.press(700, 620);
    h.move(800, 620);
    h.release(800, 620);
    EXPECT_EQ(bezel.state, 2);
    EXPECT_EQ(bezel.GetStop(), 0);
    EXPECT_TRUE(Posted().empty());
}

TEST_F(PanelPointer, SliderDragPostsPressStepAndRelease) {
    SkinSlider& bezel = h.c().bezelSliders[ctl::kHBezel];
    h.press(700, 620);
    EXPECT_EQ(bezel.state, 1);
    h.move(900, 620);  // previous message not handled yet: no second post
    EXPECT_EQ(Posted(), (Posts{{msg::HBezelSlider, 0}}));
    h.pump();
    h.move(950, 620);
    h.pump();
    h.release(950, 620);
    EXPECT_EQ(bezel.state, 0);
    EXPECT_GT(bezel.GetStop(), 0);
    EXPECT_EQ(Posted(),
              (Posts{{msg::HBezelSlider, 0}, {msg::HBezelSlider, 0}, {msg::HBezelSlider, 0}}));
    EXPECT_EQ(h.panelHost->cursor(), CursorShape::Hand);
}

TEST_F(PanelPointer, HoveringOverASliderPostsNothingAndMovesNothing) {
    struct Row {
        int x, y;
        bool redraws;  // a resolution slider repaints on every move over it
    };
    for (const Row& r :
         {Row{210, 500, true}, Row{373, 500, true}, Row{700, 620, false}, Row{1080, 500, false}}) {
        h.panelHost->clearEvents();
        h.move(r.x, r.y);
        EXPECT_TRUE(Posted().empty()) << r.x << "," << r.y;
        EXPECT_EQ(h.panelHost->cursor(), CursorShape::Hand) << r.x << "," << r.y;
        EXPECT_EQ(h.panelHost->eventsOf(HostCall::Present).size(), r.redraws ? 1u : 0u)
            << r.x << "," << r.y;
    }
    for (const SkinSlider& slider : h.c().resolutionSliders) {
        EXPECT_EQ(slider.GetStop(), 0);
        EXPECT_EQ(slider.state, 0);
    }
    for (const SkinSlider& slider : h.c().bezelSliders) {
        EXPECT_EQ(slider.GetStop(), 0);
        EXPECT_EQ(slider.state, 0);
    }
}

TEST_F(PanelPointer, APressTheSnapDistanceFromAStopLandsOnItOnePixelMoreDoesNot) {
    struct Row {
        int x, y;
        bool bezel;
        int slider;
        int stop;
    };
    // DP1 and DP2 at 60 Hz: stops 322 + 24k, snap 10. H bezel: 251 stops at 475 + 2k, snap 20.
    // V bezel: 61 stops at 322 + 5k, snap 10.
    const Row rows[] = {
        {210, 356, false, ctl::kDp1Slider60, 1},  // 10 from stop 1
        {210, 381, false, ctl::kDp1Slider60, 1},  // 11 from stop 2, 13 from stop 3: stays
        {373, 356, false, ctl::kDp2Slider60, 1},  // 10 from stop 1
        {373, 405, false, ctl::kDp2Slider60, 1},  // 11 from stop 3, 13 from stop 4: stays
        {701, 620, true, ctl::kHBezel, 103},      // 20 from stop 103 (681)
        {702, 620, true, ctl::kHBezel, 104},      // 21 from stop 103: the next one
        {1080, 352, true, ctl::kVBezel, 4},       // 10 from stop 4 (342)
        {1080, 353, true, ctl::kVBezel, 5},       // 11 from stop 4: the next one
    };
    for (const Row& r : rows) {
        h.press(r.x, r.y);
        h.release(r.x, r.y);
        h.pump();
        const auto& sliders = r.bezel ? std::span<SkinSlider>(h.c().bezelSliders)
                                      : std::span<SkinSlider>(h.c().resolutionSliders);
        EXPECT_EQ(sliders[static_cast<std::size_t>(r.slider)].GetStop(), r.stop)
            << r.x << "," << r.y;
    }
}

TEST_F(PanelPointer, OnlyTheResolutionSlidersOfTheActiveRateTakeInput) {
    h.press(373, 556);  // DP2 bar at 60 Hz: slider 1 moves to its stop 10
    h.pump();
    h.release(373, 556);
    EXPECT_EQ(Posted(), (Posts{{msg::Dp2Slider, 1}, {msg::Dp2Slider, 1}}));
    EXPECT_EQ(h.c().resolutionSliders[1].GetStop(), 10);
    EXPECT_EQ(h.c().resolutionSliders[3].GetStop(), 0);

    h.pump();
    h.panelHost->clearEvents();
    h.recorder.working.setFlags(h.recorder.working.flags() | frame_flags::frameRateBit);
    h.press(373, 400);  // at 120 Hz the same bar belongs to slider 3
    h.pump();
    h.release(373, 400);
    EXPECT_EQ(Posted(), (Posts{{msg::Dp2Slider, 3}, {msg::Dp2Slider, 3}}));
    EXPECT_EQ(h.c().resolutionSliders[3].GetStop(), 1);
    EXPECT_EQ(h.c().resolutionSliders[1].GetStop(), 10);  // the unseen slider stays put
}

TEST_F(PanelPointer, HiddenControlsAreNotHitButSwitchesAlwaysAre) {
    h.press(850, 70);  // Advance Setting, hidden
    h.release(850, 70);
    h.press(50, 180);  // device box 0, hidden before discovery
    EXPECT_EQ(h.c().buttons[ctl::kAdvanceButton].state, 0);
    EXPECT_EQ(h.c().deviceBoxGroup[0].state, 0);
    EXPECT_TRUE(Posted().empty());
    h.release(50, 180);

    h.move(850, 70);
    EXPECT_EQ(h.panelHost->cursor(), CursorShape::Arrow);
    h.move(30, 70);  // Serial COM switch
    EXPECT_EQ(h.panelHost->cursor(), CursorShape::Hand);
}

}  // namespace
}  // namespace quelt::test

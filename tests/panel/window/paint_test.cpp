// Painting of the main panel: the bezel preview's shift chain, rectangles and colours, the busy
// shadow painted over everything and the resolution sliders of the rate that is not shown.
#include <gtest/gtest.h>

#include "panel/window/panel_paint.h"
#include "panel_fixture.h"
#include "support/test_images.h"

namespace quelt::test {
namespace {

constexpr std::uint32_t kStretch1x4 = 1u << 6;
constexpr std::uint32_t kStretch2x2 = 2u << 6;

TEST(BezelShift, FollowsTheSinglePrecisionChain) {
    EXPECT_EQ(bezelShift(251, 250, 166.0f, 1920.0f), 21);
    EXPECT_EQ(bezelShift(51, 40, 144.0f, 1920.0f), 2);  // the exact product would give 3
    EXPECT_EQ(bezelShift(61, 60, 144.0f, 1080.0f), 8);
    EXPECT_EQ(bezelShift(1, 0, 166.0f, 1920.0f), 0);     // a single stop: no shift
    EXPECT_EQ(bezelShift(251, -1, 166.0f, 1920.0f), 0);  // thumb between stops
}

TEST(BezelShift, TruncatesTheChainAtEveryStopCountTheLimitsGive) {
    struct Row {
        int stops, stop;
        float monitor, source;
        int shift;
    };
    const Row rows[] = {
        {251, 250, 166, 1920, 21}, {251, 125, 166, 1920, 10}, {151, 150, 166, 1920, 12},
        {151, 99, 166, 1920, 8},   {101, 100, 166, 1920, 8},  {251, 250, 115, 1920, 14},
        {151, 150, 115, 1920, 8},  {201, 77, 115, 1920, 4},   {201, 40, 144, 1920, 2},
        {201, 200, 144, 1920, 14}, {201, 123, 144, 1920, 9},  {201, 120, 144, 1920, 9},
        {51, 40, 144, 1920, 2},    {61, 60, 144, 1080, 8},    {46, 45, 144, 1080, 6},
        {31, 30, 144, 1080, 4},    {16, 15, 144, 1080, 2},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(bezelShift(r.stops, r.stop, r.monitor, r.source), r.shift)
            << r.stops << " stops, stop " << r.stop << ", " << r.monitor << "/" << r.source;
    }
}

class PanelPaint : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(h.build()); }

    void SetLayout(std::uint32_t layoutBits) {
        DeviceFrame frame = initialWorkingFrame();
        frame.setFlags(layoutBits);
        h.recorder.working = frame;
    }
    std::vector<SkinRect> Rects() {
        std::vector<SkinRect> rects;
        for (const PreviewRect& r : bezelPreviewRects(h.c(), h.recorder.working)) {
            rects.push_back(r.rect);
        }
        return rects;
    }

    SkinCopy skin;
    PanelHarness h{skin.base()};
};

TEST_F(PanelPaint, PreviewPullsTheOuterEdgesInByTheBezel) {
    h.c().bezelSliders[0].SetStop(250);
    h.c().bezelSliders[1].SetStop(60);
    SetLayout(0);
    EXPECT_EQ(Rects(), (std::vector<SkinRect>{{634, 416, 758, 503}, {773, 416, 897, 503}}));

    SetLayout(kStretch1x4);
    const int s = bezelShift(251, 250, 115.0f, 1920.0f);
    EXPECT_EQ(Rects(), (std::vector<SkinRect>{{516 + 2 * s, 447, 631, 507},
                                              {642, 447, 757, 507},
                                              {768, 447, 883, 507},
                                              {894, 447, 1009 - 2 * s, 507}}));

    SetLayout(kStretch2x2);
    const int sh = bezelShift(251, 250, 144.0f, 1920.0f);
    const int sv = bezelShift(61, 60, 144.0f, 1080.0f);
    const std::vector<SkinRect> grid = Rects();
    ASSERT_EQ(grid.size(), 4u);
    EXPECT_EQ(grid[0], (SkinRect{614 + 2 * sh, 371 + 2 * sv, 758, 447}));
    EXPECT_EQ(grid[3], (SkinRect{772, 470, 916 - 2 * sh, 546 - 2 * sv}));

    // Clone: four unshifted monitors; clone with stretch bits set: no preview.
    SetLayout(frame_flags::cloneBit);
    EXPECT_EQ(Rects(), (std::vector<SkinRect>{{614, 371, 758, 447},
                                              {772, 371, 916, 447},
                                              {614, 470, 758, 546},
                                              {772, 470, 916, 546}}));
    SetLayout(frame_flags::cloneBit | kStretch1x4);
    EXPECT_TRUE(Rects().empty());
}

TEST_F(PanelPaint, EveryPreviewMonitorAtTheFullBezel) {
    // H slider: 251 stops on stop 250; V slider: 61 stops on stop 60.
    h.c().bezelSliders[0].SetStop(250);
    h.c().bezelSliders[1].SetStop(60);
    struct Row {
        std::uint32_t layout;
        std::vector<SkinRect> rects;
    };
    const Row rows[] = {
        {0, {{634, 416, 758, 503}, {773, 416, 897, 503}}},
        {kStretch1x4,
         {{544, 447, 631, 507}, {642, 447, 757, 507}, {768, 447, 883, 507}, {894, 447, 981, 507}}},
        {kStretch2x2,
         {{650, 387, 758, 447}, {772, 387, 880, 447}, {650, 470, 758, 530}, {772, 470, 880, 530}}},
        {frame_flags::cloneBit,
         {{614, 371, 758, 447}, {772, 371, 916, 447}, {614, 470, 758, 546}, {772, 470, 916, 546}}},
        {frame_flags::cloneBit | kStretch2x2, {}},
        {kStretch1x4 | kStretch2x2, {}},
    };
    for (const Row& r : rows) {
        SetLayout(r.layout);
        EXPECT_EQ(Rects(), r.rects) << "layout bits " << r.layout;
    }
}

TEST(PanelPictures, EachLayoutShowsItsBezelPictureAndTheLegendIsAlwaysOn) {
    SkinCopy skin;
    const char* files[] = {"Bezel_1x2", "Bezel_1x4", "Bezel_2x2", "Bezel_Clone", "HotKeyInfo"};
    const std::uint32_t colours[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00, 0xFF00FFFF};
    for (int i = 0; i < 5; ++i) {
        WriteStrip(skin.file(std::string("GUIFrameMain/GUIFrameMainStcImage_") + files[i] + ".kesp")
                       .string(),
                   4, 4, {colours[i], colours[i]});
    }
    PanelHarness h(skin.base());
    ASSERT_TRUE(h.build());
    struct Row {
        std::uint32_t layout;
        int picture;  // index into files
    };
    const Row rows[] = {
        {0, 0},
        {kStretch1x4, 1},
        {kStretch2x2, 2},
        {frame_flags::cloneBit, 3},
        {frame_flags::cloneBit | kStretch1x4, 3},
        {kStretch1x4 | kStretch2x2, 3},
    };
    for (const Row& r : rows) {
        DeviceFrame frame = initialWorkingFrame();
        frame.setFlags(r.layout);
        h.recorder.working = frame;
        h.panel->redrawPanel();
        const PresentedFrame shown = h.panelHost->lastFrame();
        // A point inside every bezel picture and between the preview monitors of every layout.
        EXPECT_EQ(shown.pixel(765, 520), colours[r.picture]) << "layout bits " << r.layout;
        EXPECT_EQ(shown.pixel(953, 219), colours[4]) << "layout bits " << r.layout;
    }
}

TEST_F(PanelPaint, PreviewIsBlueWhileApplyWorksAndGreyWhileItIsDisabled) {
    SetLayout(0);
    h.panel->redrawPanel();
    std::uint32_t left = h.panelHost->lastFrame().pixel(592, 460);
    EXPECT_LE((left >> 16) & 0xFF, 4u);
    EXPECT_NEAR(static_cast<int>((left >> 8) & 0xFF), 170, 4);
    EXPECT_GE(left & 0xFF, 250u);

    h.c().buttons[ctl::kApplyButton].state = 3;
    h.panel->redrawPanel();
    left = h.panelHost->lastFrame().pixel(592, 460);
    EXPECT_NEAR(static_cast<int>((left >> 16) & 0xFF), 0x32, 3);
    EXPECT_NEAR(static_cast<int>((left >> 8) & 0xFF), 0x32, 3);
    EXPECT_NEAR(static_cast<int>(left & 0xFF), 0x32, 3);
}

TEST_F(PanelPaint, RateNotShownKeepsItsSlidersOffTheFace) {
    auto frameWithDp1At = [this](int stop) {
        h.c().resolutionSliders[0].SetStop(stop);
        h.panel->redrawPanel();
        return h.panelHost->lastFrame().pixels;
    };
    SetLayout(0);
    EXPECT_NE(frameWithDp1At(0), frameWithDp1At(7));
    SetLayout(frame_flags::frameRateBit);
    EXPECT_EQ(frameWithDp1At(0), frameWithDp1At(7));
}

TEST(PanelBusyShadow, IsPaintedLastOverEveryControl) {
    SkinCopy skin;
    const std::uint32_t magenta = 0xFFFF00FF;
    WriteStrip(skin.file("GUIFrameMain/GUIFrameMainBKShadow.kesp").string(), 4, 4,
               {magenta, 0xFF00FF00});
    PanelHarness h(skin.base());
    ASSERT_TRUE(h.build());

    h.panel->redrawPanel();
    EXPECT_NE(h.panelHost->lastFrame().pixel(1093, 15), magenta);

    h.panel->busyFlag() = 1;
    h.panel->redrawPanel();
    const PresentedFrame frame = h.panelHost->lastFrame();
    for (auto [x, y] : {std::pair{1093, 15}, {20, 17}, {700, 620}, {900, 200}, {1126, 678}}) {
        EXPECT_EQ(frame.pixel(x, y), magenta) << x << "," << y;
    }
}

}  // namespace
}  // namespace quelt::test

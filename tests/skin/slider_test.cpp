// Slider stop tables and pointer tracking with the panel's real geometry.
#include <gtest/gtest.h>

#include <vector>

#include "skin/skin_slider.h"

namespace quelt {
namespace {

// The resolution slider: vertical, thumb 36 x 19 (half 9), stops from 331 to 645, snap 10.
SkinSlider ResolutionSlider(int stopCount) {
    SkinSlider slider;
    slider.Assign({.thumbRect = {100, 400, 136, 419},
                   .barRect = {110, 320, 126, 660},
                   .minPos = 331,
                   .maxPos = 645,
                   .stopCount = stopCount,
                   .snapDistance = 10,
                   .visible = 1,
                   .orientation = 1});
    slider.Load();  // images are missing here; the stop table is built all the same
    return slider;
}

// The horizontal bezel slider: thumb 37 x 41 (half 18), 493 to 1029, 251 stops, snap 20.
SkinSlider BezelSlider() {
    SkinSlider slider;
    slider.Assign({.thumbRect = {600, 100, 637, 141},
                   .barRect = {470, 110, 1050, 130},
                   .minPos = 493,
                   .maxPos = 1029,
                   .stopCount = 251,
                   .snapDistance = 20,
                   .visible = 1,
                   .orientation = 0});
    slider.Load();
    return slider;
}

TEST(SliderStops, EvenIntegerStepWithTheLastStopAtTheEnd) {
    SkinSlider slider = ResolutionSlider(14);
    ASSERT_EQ(slider.stops.size(), 14u);
    for (int i = 0; i < 13; ++i) {
        EXPECT_EQ(slider.stops[i], 322 + 24 * i) << i;
    }
    EXPECT_EQ(slider.stops[12], 610);
    EXPECT_EQ(slider.stops[13], 636);
    EXPECT_EQ(slider.thumbRect.top, 322);  // thumb placed on stop 0, size kept
    EXPECT_EQ(slider.thumbRect.bottom, 341);
    EXPECT_EQ(slider.thumbRect.left, 100);
    EXPECT_EQ(slider.GetStop(), 0);

    std::vector<std::int32_t> stops{1, 2, 3};
    EXPECT_EQ(slider.GetStops(stops), 1);
    EXPECT_EQ(stops, slider.stops);

    SkinSlider bezel = BezelSlider();
    EXPECT_EQ(bezel.stops[0], 475);
    EXPECT_EQ(bezel.stops[249], 973);
    EXPECT_EQ(bezel.stops[250], 1011);
    EXPECT_EQ(bezel.thumbRect.left, 475);
    EXPECT_EQ(bezel.thumbRect.right, 512);
}

TEST(SliderStops, DegenerateCounts) {
    SkinSlider single = ResolutionSlider(1);
    ASSERT_EQ(single.stops.size(), 1u);
    EXPECT_EQ(single.stops[0], 322);

    // Fewer pixels than gaps: step 0, every stop but the last at the first position.
    SkinSlider crowded = ResolutionSlider(400);
    EXPECT_EQ(crowded.stops[0], 322);
    EXPECT_EQ(crowded.stops[398], 322);
    EXPECT_EQ(crowded.stops[399], 636);
    crowded.SetStop(200);
    EXPECT_EQ(crowded.GetStop(), 0);

    for (const int count : {0, -3}) {
        SkinSlider none = ResolutionSlider(count);
        EXPECT_TRUE(none.stops.empty());
        EXPECT_EQ(none.thumbImage, nullptr);
        std::vector<std::int32_t> untouched{7};
        EXPECT_EQ(none.GetStops(untouched), 0);
        EXPECT_EQ(untouched, std::vector<std::int32_t>{7});
        EXPECT_EQ(none.GetStop(), -1);
        none.SetStop(0);  // no table: nothing moves
        EXPECT_EQ(none.thumbRect.top, 400);
    }
}

TEST(SliderStops, LoadOnceUnloadThenRebuild) {
    SkinSlider slider = ResolutionSlider(5);
    EXPECT_EQ(slider.Load(), 0);  // already loaded: nothing changes
    EXPECT_EQ(slider.stops.size(), 5u);
    slider.Unload();
    EXPECT_TRUE(slider.stops.empty());
    EXPECT_EQ(slider.thumbImage, nullptr);
    SkinSlider descriptor;
    descriptor.Assign(slider);
    descriptor.stopCount = 3;
    slider.Assign(descriptor);
    slider.Load();
    EXPECT_EQ(slider.stops, (std::vector<std::int32_t>{322, 479, 636}));
}

TEST(SliderStops, SetStopAndGetStop) {
    SkinSlider slider = ResolutionSlider(14);
    slider.SetStop(5);
    EXPECT_EQ(slider.GetStop(), 5);
    EXPECT_EQ(slider.thumbRect.top, 442);
    slider.SetStop(14);
    slider.SetStop(-1);
    EXPECT_EQ(slider.GetStop(), 5);
    slider.thumbRect.top += 1;  // off every stop
    EXPECT_EQ(slider.GetStop(), -1);
}

TEST(SliderTrack, SnapsToTheFirstStopInReach) {
    SkinSlider slider = ResolutionSlider(14);
    slider.state = 1;
    EXPECT_EQ(slider.Track(0, 350), 1);
    EXPECT_EQ(slider.GetStop(), 1);
    EXPECT_EQ(slider.Track(0, 334), 1);  // 12 from both neighbours: the thumb stays
    EXPECT_EQ(slider.GetStop(), 1);
    EXPECT_EQ(slider.Track(0, 200), 1);  // clamped to 331, within reach of stop 0
    EXPECT_EQ(slider.GetStop(), 0);
    slider.Track(0, 5000);  // clamped to 645: stop 13 at 636
    EXPECT_EQ(slider.GetStop(), 13);

    SkinSlider bezel = BezelSlider();
    bezel.state = 1;
    bezel.Track(700, 0);
    EXPECT_EQ(bezel.GetStop(), 103);
    EXPECT_EQ(bezel.thumbRect.left, 681);
}

TEST(SliderTrack, AStopExactlyTheSnapDistanceAwayIsInReach) {
    SkinSlider slider = ResolutionSlider(14);
    slider.state = 1;
    slider.Track(0, 356);  // 10 from stop 1 (346), 14 from stop 2
    EXPECT_EQ(slider.GetStop(), 1);
    slider.Track(0, 312 + 24 * 5);  // 10 above stop 5
    EXPECT_EQ(slider.GetStop(), 5);
    slider.Track(0, 357);  // 11 from stop 1, 13 from stop 2: stays on stop 5
    EXPECT_EQ(slider.GetStop(), 5);

    SkinSlider bezel = BezelSlider();
    bezel.state = 1;
    bezel.Track(701, 0);  // stop 103 (681) is 20 away and comes first
    EXPECT_EQ(bezel.GetStop(), 103);
}

TEST(SliderTrack, HoverReportsWithoutMoving) {
    SkinSlider slider = ResolutionSlider(14);
    EXPECT_EQ(slider.Track(115, 500), 1);  // over the bar
    EXPECT_EQ(slider.GetStop(), 0);
    EXPECT_EQ(slider.Track(10, 10), 0);
    slider.state = 2;
    EXPECT_EQ(slider.Track(115, 500), 0);  // disabled: not hot
    slider.state = 0;
    slider.visible = 0;
    EXPECT_EQ(slider.Track(115, 500), 0);
}

}  // namespace
}  // namespace quelt

#include "panel/resolution_lists.h"

#include <gtest/gtest.h>

namespace quelt {
namespace {

DeviceFrame frameWith(std::uint32_t flags) {
    DeviceFrame frame;
    frame.setFlags(flags);
    return frame;
}

constexpr std::uint32_t kStretch1x4 = 1u << frame_flags::stretchShift;
constexpr std::uint32_t kStretch2x2 = 2u << frame_flags::stretchShift;
constexpr std::uint32_t kStretchBoth = 3u << frame_flags::stretchShift;

TEST(ResolutionLists, TextsFollowTheLayout) {
    const ResolutionLists lists = buildResolutionLists();
    const char* stretch1x2[] = {"2048 x 768",  "2560 x 720", "2560 x 768",  "2560 x 800",
                                "2560 x 1024", "2732 x 768", "2800 x 1050", "2880 x 900",
                                "2880 x 1050", "3200 x 900", "3200 x 1200", "3360 x 1050",
                                "3840 x 1080", "3840 x 1200"};
    ASSERT_EQ(lists[0].size(), 14u);
    for (std::size_t i = 0; i < 14; ++i) {
        EXPECT_EQ(lists[0][i].text, stretch1x2[i]);
        EXPECT_EQ(lists[0][i].index, i);
    }
    EXPECT_EQ(lists[1][5].text, "5464 x 768");
    EXPECT_EQ(lists[1][0].text, "4096 x 768");
    EXPECT_EQ(lists[2][13].text, "3840 x 2400");
    EXPECT_EQ(lists[2][6].text, "2800 x 2100");
    EXPECT_EQ(lists[3][0].text, "1024 x 768");
    EXPECT_EQ(lists[3][11].text, "1680 x 1050");
    for (int m = 0; m < 4; ++m) {
        const ResolutionList& rate120 = lists[static_cast<std::size_t>(4 + m)];
        ASSERT_EQ(rate120.size(), 5u);
        for (std::size_t i = 0; i < 5; ++i) {
            EXPECT_EQ(rate120[i], lists[static_cast<std::size_t>(m)][i]);
        }
    }
}

TEST(ResolutionLists, CloneWinsAndStretchThreeMeansClone) {
    EXPECT_EQ(resolutionListIndex(frameWith(0)), 0);
    EXPECT_EQ(resolutionListIndex(frameWith(kStretch1x4)), 1);
    EXPECT_EQ(resolutionListIndex(frameWith(kStretch2x2)), 2);
    EXPECT_EQ(resolutionListIndex(frameWith(frame_flags::cloneBit | kStretch1x4)), 3);
    EXPECT_EQ(resolutionListIndex(frameWith(kStretchBoth)), 3);
    const std::uint32_t rate120 = frame_flags::frameRateBit;
    EXPECT_EQ(resolutionListIndex(frameWith(rate120)), 4);
    EXPECT_EQ(resolutionListIndex(frameWith(rate120 | frame_flags::cloneBit | kStretch1x4)), 7);
    EXPECT_EQ(resolutionListIndex(frameWith(rate120 | kStretch2x2 | 0x7F00u)), 6);
    EXPECT_EQ(resolutionEntryCount(frameWith(0)), 14u);
    EXPECT_EQ(resolutionEntryCount(frameWith(rate120)), 5u);

    const ResolutionLists lists = buildResolutionLists();
    EXPECT_EQ(selectResolutionList(lists, frameWith(frame_flags::cloneBit))[0].text, "1024 x 768");
    EXPECT_EQ(selectResolutionList(lists, frameWith(kStretch1x4))[0].text, "4096 x 768");
}

}  // namespace
}  // namespace quelt

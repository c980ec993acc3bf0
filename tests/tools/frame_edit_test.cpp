#include "tools/cli/frame_edit.h"

#include <gtest/gtest.h>

#include "tools/cli/frame_text.h"

namespace quelt::cli {
namespace {

DeviceFrame reported(std::uint32_t flags, std::uint8_t res1, std::uint8_t res2) {
    DeviceFrame f;
    f[0] = 0xFF;
    f[1] = 0x54;
    f[2] = 12;
    f[3] = 2;
    f.setFlags(flags);
    f[frame_offset::resolutionDp1] = res1;
    f[frame_offset::resolutionDp2] = res2;
    f[frame_offset::hLimit] = 100;
    f[frame_offset::vLimit] = 30;
    f[frame_offset::hBezel] = 40;
    f[frame_offset::vBezel] = 20;
    f[15] = 0xAA;
    return f;
}

TEST(FrameEdit, ModeRateAndSyncKeepTheDeviceBits) {
    const std::uint32_t deviceBits = 0xABCD0F00u & ~frame_flags::frameRateBit;
    DeviceFrame f = reported(deviceBits | frame_flags::cloneBit | 1u, 2, 2);
    SettingEdits e;
    e.mode = ModeChoice::Stretch1x4;
    e.rate120 = true;
    e.sync = SyncChoice::Off;
    applyEdits(f, e);
    EXPECT_EQ(f.flags(), deviceBits | (1u << 6) | frame_flags::frameRateBit | 2u);
    EXPECT_EQ(modeKey(f), "1x4");
    EXPECT_EQ(syncKey(f), "off");
    EXPECT_EQ(frameRateHz(f), 120);

    e = {};
    e.mode = ModeChoice::Clone;
    e.rate120 = false;
    e.sync = SyncChoice::Dp2;
    applyEdits(f, e);
    EXPECT_EQ(f.flags(), deviceBits | frame_flags::cloneBit | 1u);
}

TEST(FrameEdit, UnnamedFieldsStayAndIdGoesToByteThree) {
    const DeviceFrame before = reported(0, 3, 7);
    DeviceFrame f = before;
    SettingEdits e;
    e.boxId = 5;
    e.vBezel = 10;
    applyEdits(f, e);
    DeviceFrame expected = before;
    expected[3] = 5;
    expected[frame_offset::vBezel] = 10;
    EXPECT_EQ(f, expected);
}

TEST(FrameEdit, Dp2FollowsDp1InTheTiedModesOnly) {
    SettingEdits e;
    e.mode = ModeChoice::Stretch2x2;
    e.resolutionDp1 = 9;
    DeviceFrame f = reported(0, 3, 7);
    applyEdits(f, e);
    EXPECT_EQ(f[frame_offset::resolutionDp2], 9);

    e.mode = ModeChoice::Clone;
    f = reported(0, 3, 7);
    applyEdits(f, e);
    EXPECT_EQ(f[frame_offset::resolutionDp2], 7);

    // No valid DP1 choice: DP2 is left where it is, as a slider on no stop is not followed.
    e = {};
    e.mode = ModeChoice::Stretch1x4;
    f = reported(0, kNoChoice, 7);
    applyEdits(f, e);
    EXPECT_EQ(f[frame_offset::resolutionDp2], 7);
}

TEST(FrameEdit, ResolutionChecksUseTheResultingModeAndRate) {
    const DeviceFrame at60 = reported(0, 10, 10);
    SettingEdits e;
    EXPECT_EQ(checkEdits(at60, e), "");
    e.rate120 = true;  // the kept index 10 does not exist at 120 Hz
    EXPECT_NE(checkEdits(at60, e), "");
    e.resolutionDp1 = 4;
    EXPECT_NE(checkEdits(at60, e), "") << "DP2 is free in 1x2 and still 10";
    e.resolutionDp2 = 4;
    EXPECT_EQ(checkEdits(at60, e), "");
    e.resolutionDp1 = 5;
    EXPECT_NE(checkEdits(at60, e), "");

    // A box that reports an index beyond its list is not blocked by unrelated changes.
    const DeviceFrame odd = reported(frame_flags::frameRateBit, 9, kNoChoice);
    SettingEdits idOnly;
    idOnly.boxId = 3;
    EXPECT_EQ(checkEdits(odd, idOnly), "");

    SettingEdits tied;
    tied.mode = ModeChoice::Stretch2x2;
    tied.resolutionDp1 = 2;
    tied.resolutionDp2 = 3;
    EXPECT_NE(checkEdits(at60, tied), "");
    tied.resolutionDp2 = 2;
    EXPECT_EQ(checkEdits(at60, tied), "");
}

TEST(FrameEdit, BezelChecksUseTheResultingLimit) {
    const DeviceFrame f = reported(0, 0, 0);  // limits 100 / 30, bezels 40 / 20
    SettingEdits e;
    e.hBezel = 100;
    EXPECT_EQ(checkEdits(f, e), "");
    e.hBezel = 101;
    EXPECT_NE(checkEdits(f, e), "");
    e = {};
    e.hLimit = 0;  // the kept H bezel 40 no longer fits
    EXPECT_NE(checkEdits(f, e), "");
    e.hBezel = 0;
    EXPECT_EQ(checkEdits(f, e), "");
    e = {};
    e.vLimit = 15;
    EXPECT_NE(checkEdits(f, e), "");
    e.vBezel = 15;
    EXPECT_EQ(checkEdits(f, e), "");
    e.vBezel = 16;
    e.vLimit = 60;
    EXPECT_EQ(checkEdits(f, e), "");
}

TEST(FrameText, ResolutionTextsComeFromTheFramesList) {
    DeviceFrame f = reported(frame_flags::cloneBit | frame_flags::frameRateBit, 4, 5);
    EXPECT_EQ(resolutionText(f, 4), "1280 x 1024");
    EXPECT_EQ(resolutionText(f, 5), std::nullopt);
    f.setFlags(1u << 6);
    EXPECT_EQ(resolutionText(f, 5), "5464 x 768");
    EXPECT_EQ(resolutionText(f, kNoChoice), std::nullopt);
    f.setFlags(3u << 6);  // both stretch bits: no mode, the Clone list
    EXPECT_EQ(modeKey(f), "unknown");
    EXPECT_EQ(resolutionText(f, 0), "1024 x 768");
    EXPECT_EQ(flagsHex(f), "0x000000c0");
    EXPECT_EQ(frameHex(f).size(), 32u);
    EXPECT_EQ(frameHex(f).substr(0, 16), "ff540c02c0000000");
}

}  // namespace
}  // namespace quelt::cli

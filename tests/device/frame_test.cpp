#include "device/frame.h"

#include <gtest/gtest.h>

namespace quelt {
namespace {

TEST(DeviceFrame, FlagsAreLittleEndianInBytesFourToSeven) {
    DeviceFrame f;
    f.setFlags(0x12345678u);
    EXPECT_EQ(f[4], 0x78);
    EXPECT_EQ(f[7], 0x12);
    EXPECT_EQ(f.flags(), 0x12345678u);
    f.setFlags(frame_flags::cloneBit | (2u << frame_flags::stretchShift) |
               frame_flags::frameRateBit | 2u);
    EXPECT_TRUE(f.clone());
    EXPECT_EQ(f.stretch(), 2u);
    EXPECT_TRUE(f.is120Hz());
    EXPECT_EQ(f.clockSync(), 2u);
}

TEST(DeviceFrame, ReplyCheckTellsValidNegativeAndWrong) {
    DeviceFrame r;
    r[0] = 0xFF;
    r[15] = 0xAA;
    EXPECT_EQ(checkReply(r, 0xFF), ReplyKind::Valid);
    EXPECT_EQ(checkReply(r, 0), ReplyKind::Wrong);  // status reply while an echo is awaited
    r[15] = 0xAB;
    EXPECT_EQ(checkReply(r, 0xFF), ReplyKind::Wrong);  // bad end mark
    r[0] = 0xFE;
    EXPECT_EQ(checkReply(r, 0xFF), ReplyKind::Negative);
}

TEST(DeviceFrame, SettingsEqualIgnoresHeaderByteTenBezelsAndEndMark) {
    DeviceFrame a = initialWorkingFrame();
    DeviceFrame b = a;
    for (int i : {0, 1, 2, 3, 10, 13, 14, 15}) {
        b[static_cast<std::size_t>(i)] = 0x5A;
    }
    EXPECT_TRUE(settingsEqual(a, b));
    for (int i : {4, 5, 6, 7, 8, 9, 11, 12}) {
        DeviceFrame c = a;
        c[static_cast<std::size_t>(i)] ^= 0x80;
        EXPECT_FALSE(settingsEqual(a, c)) << "byte " << i;
    }
}

TEST(DeviceFrame, ConstructionDefaultsAndPauses) {
    DeviceFrame w = initialWorkingFrame();
    EXPECT_EQ(w[11], 50);
    EXPECT_EQ(w[12], 15);
    EXPECT_EQ(w[15], 0);
    EXPECT_EQ(commandPauseMs(DeviceCommand::ApplySettings), 1000u);
    EXPECT_EQ(commandPauseMs(DeviceCommand::FinishApply), 1000u);
    EXPECT_EQ(commandPauseMs(DeviceCommand::PatternOn), 0u);
    EXPECT_EQ(commandPauseMs(DeviceCommand::RgbwPatternOn), 0u);
}

}  // namespace
}  // namespace quelt

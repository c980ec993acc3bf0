#include "base/ui_strings.h"

#include <gtest/gtest.h>

namespace quelt {
namespace {

TEST(UiStringTable, LabelsKeepSharedAndRepeatedEntriesApart) {
    const UiStringTable& t = uiStrings();
    EXPECT_EQ(t.label(ui_label::kTitle), "QueltControlCenter Vx.xx - FWVer: Vx.xx");
    EXPECT_EQ(t.label(ui_label::kDeviceInfo), "FW:30\nCOM:10\nID:20");
    EXPECT_EQ(t.label(ui_label::kDeviceInfo).size(), 18u);  // two real line feeds
    // The resolution headings and the clock-sync choices read alike but are separate entries.
    EXPECT_EQ(t.label(ui_label::kResolutionDp1), "DP1");
    EXPECT_EQ(t.label(ui_label::kClockSyncDp1), "DP1");
    EXPECT_EQ(t.label(ui_label::kResolutionDp2), "DP2");
    EXPECT_EQ(t.label(ui_label::kClockSyncDp2), "DP2");
    EXPECT_NE(&t.label(ui_label::kResolutionDp1), &t.label(ui_label::kClockSyncDp1));
    EXPECT_EQ(t.label(ui_label::kHLimitFirst + 5), "250");
    EXPECT_EQ(t.label(ui_label::kVLimitFirst + 3), "60");
    EXPECT_EQ(t.label(ui_label::kDeviceIdFirst + 5), "ID 6");
    EXPECT_EQ(t.label(ui_label::kDeviceSettingSync), "Device Setting Sync");
    for (const std::string& text : t.labels()) {
        EXPECT_FALSE(text.empty());
    }
}

TEST(UiStringTable, ErrorsCarryTheirCodesOnASecondLine) {
    const UiStringTable& t = uiStrings();
    EXPECT_EQ(t.error(ui_error::kSerialComInit),
              "The Serial COM initialize fail.\nPlease check again.");
    EXPECT_EQ(t.error(ui_error::kDisconnected), "It found that is disconnect with Serial COM.");
    EXPECT_EQ(t.error(ui_error::kInitialize), "Panoril initialize fail.");
    EXPECT_EQ(t.error(ui_error::kSwitchDevice), "Switch to device fail.");
    EXPECT_EQ(t.error(ui_error::kHardwareResetStatus),
              "Panoril hardware reset fail.\nErrorCode = 0xA002");
    EXPECT_EQ(t.error(ui_error::kSoftwareResetCommand),
              "Panoril software reset fail.\nErrorCode = 0xA001");
    EXPECT_EQ(t.error(ui_error::kApplySettings), "Panoril apply fail.\nErrorCode = 0xA001");
    EXPECT_EQ(t.error(ui_error::kApplyStatus), "Panoril apply fail.\nErrorCode = 0xA004");
    for (int k = 0; k < ui_error::kCount; ++k) {
        const bool twoLines = k == 0 || k >= 6;
        EXPECT_EQ(t.error(k).find('\n') != std::string::npos, twoLines) << "error " << k;
    }
}

TEST(UiStringTable, IndexOutsideTheTableGivesEmptyText) {
    EXPECT_EQ(uiStrings().label(-1), "");
    EXPECT_EQ(uiStrings().label(ui_label::kCount), "");
    EXPECT_EQ(uiStrings().error(ui_error::kCount), "");
}

}  // namespace
}  // namespace quelt

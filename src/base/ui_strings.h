#pragma once
// Every fixed text of the panel that is not a skin image: the initial texts of the labels and the
// texts of the error boxes. Built once, read-only afterwards, readable from any thread.
#include <array>
#include <cstddef>
#include <string>

namespace quelt {

namespace ui_label {
inline constexpr int kTitle = 0;
inline constexpr int kDeviceList = 1;
inline constexpr int kDeviceInfo = 2;  // shared by all six device information labels
inline constexpr int kResolutionDp1 = 3;
inline constexpr int kResolutionDp2 = 4;
inline constexpr int kMode = 5;
inline constexpr int kModeStretch1x2 = 6;
inline constexpr int kModeStretch1x4 = 7;
inline constexpr int kModeStretch2x2 = 8;
inline constexpr int kModeClone = 9;
inline constexpr int kClockSync = 10;
inline constexpr int kClockSyncDp1 = 11;
inline constexpr int kClockSyncDp2 = 12;
inline constexpr int kClockSyncOff = 13;
inline constexpr int kFrameRate = 14;
inline constexpr int kFrameRate60 = 15;
inline constexpr int kFrameRate120 = 16;
inline constexpr int kHLimit = 17;
inline constexpr int kHLimitFirst = 18;  // 0, 50, 100, 150, 200, 250: labels 18 to 23
inline constexpr int kVLimit = 24;
inline constexpr int kVLimitFirst = 25;  // 15, 30, 45, 60: labels 25 to 28
inline constexpr int kDeviceId = 29;
inline constexpr int kDeviceIdFirst = 30;  // ID 1 to ID 6: labels 30 to 35
inline constexpr int kDeviceSettingSync = 36;
inline constexpr int kCount = 37;
}  // namespace ui_label

namespace ui_error {
inline constexpr int kSerialComInit = 0;
inline constexpr int kDisconnected = 1;  // never shown; keeps the later indices
inline constexpr int kInitialize = 2;
inline constexpr int kPatternOn = 3;
inline constexpr int kPatternOff = 4;
inline constexpr int kSwitchDevice = 5;
inline constexpr int kHardwareResetCommand = 6;
inline constexpr int kHardwareResetStatus = 7;
inline constexpr int kSoftwareResetCommand = 8;
inline constexpr int kSoftwareResetStatus = 9;
inline constexpr int kApplySettings = 10;
inline constexpr int kApplySetBoxId = 11;
inline constexpr int kApplyFinish = 12;
inline constexpr int kApplyStatus = 13;
inline constexpr int kCount = 14;
}  // namespace ui_error

// Caption of every error box.
inline constexpr const char* kErrorCaption = "QueltError...";

class UiStringTable {
  public:
    UiStringTable();

    // Text of label / error `index`; an empty text for an index outside the table.
    const std::string& label(int index) const;
    const std::string& error(int index) const;

    const std::array<std::string, ui_label::kCount>& labels() const { return labels_; }
    const std::array<std::string, ui_error::kCount>& errors() const { return errors_; }

  private:
    std::array<std::string, ui_label::kCount> labels_;
    std::array<std::string, ui_error::kCount> errors_;
};

// The process-wide table (built on first use, never changed afterwards).
const UiStringTable& uiStrings();

}  // namespace quelt

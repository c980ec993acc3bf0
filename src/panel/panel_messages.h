#pragma once
// Messages the panel posts to itself (numbered from WM_USER = 1024); wParam is the control's
// index in its group, lParam 0.
#include <cstdint>

namespace quelt::msg {

inline constexpr std::uint32_t kUser = 1024;

inline constexpr std::uint32_t SyncCheckBox = kUser + 1;    // 1025
inline constexpr std::uint32_t StartupDone = kUser + 11;    // 1035: repaint, centre, show
inline constexpr std::uint32_t SerialComSwitch = kUser + 101;  // 1125
inline constexpr std::uint32_t PatternSwitch = kUser + 102;    // 1126
inline constexpr std::uint32_t RgbwSwitch = kUser + 103;       // 1127
inline constexpr std::uint32_t HwResetButton = kUser + 201;    // 1225 (also F12)
inline constexpr std::uint32_t SwResetButton = kUser + 202;    // 1226
inline constexpr std::uint32_t ApplyButton = kUser + 203;      // 1227
inline constexpr std::uint32_t AdvanceButton = kUser + 204;    // 1228
inline constexpr std::uint32_t ExitButton = kUser + 205;       // 1229
inline constexpr std::uint32_t ModeGroup = kUser + 301;        // 1325
inline constexpr std::uint32_t ClockSyncGroup = kUser + 302;   // 1326
inline constexpr std::uint32_t FrameRateGroup = kUser + 303;   // 1327
inline constexpr std::uint32_t HLimitGroup = kUser + 304;      // 1328
inline constexpr std::uint32_t VLimitGroup = kUser + 305;      // 1329
inline constexpr std::uint32_t DeviceBoxGroup = kUser + 306;   // 1330
inline constexpr std::uint32_t DeviceIdGroup = kUser + 307;    // 1331
inline constexpr std::uint32_t Dp1Slider = kUser + 401;        // 1425
inline constexpr std::uint32_t Dp2Slider = kUser + 402;        // 1426
inline constexpr std::uint32_t HBezelSlider = kUser + 403;     // 1427
inline constexpr std::uint32_t VBezelSlider = kUser + 404;     // 1428
inline constexpr std::uint32_t KeyPattern = kUser + 500;       // 1524: wParam = key code '1'..'6'
inline constexpr std::uint32_t KeyRgbwPattern = kUser + 501;   // 1525: wParam = key code F1..F6
inline constexpr std::uint32_t KeyAllOff = kUser + 502;        // 1526: Esc

}  // namespace quelt::msg

#pragma once
// Windows virtual-key codes: the one code space every key observer reports in and the shortcut
// rules read, on every platform.
#include <cstdint>

namespace quelt::vk {

inline constexpr std::uint32_t kReturn = 0x0D;
inline constexpr std::uint32_t kEscape = 0x1B;
inline constexpr std::uint32_t kDigit0 = 0x30;
inline constexpr std::uint32_t kDigit1 = 0x31;
inline constexpr std::uint32_t kDigit6 = 0x36;
inline constexpr std::uint32_t kF1 = 0x70;
inline constexpr std::uint32_t kF6 = 0x75;
inline constexpr std::uint32_t kF12 = 0x7B;
inline constexpr std::uint32_t kF24 = 0x87;
inline constexpr std::uint32_t kLeftShift = 0xA0;
inline constexpr std::uint32_t kRightShift = 0xA1;
inline constexpr std::uint32_t kLeftControl = 0xA2;
inline constexpr std::uint32_t kRightControl = 0xA3;
inline constexpr std::uint32_t kLeftAlt = 0xA4;
inline constexpr std::uint32_t kRightAlt = 0xA5;

}  // namespace quelt::vk

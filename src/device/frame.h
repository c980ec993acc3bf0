#pragma once
// The 16-byte frame exchanged with a box. Commands and replies share one layout.
#include <array>
#include <cstdint>

namespace quelt {

enum class DeviceCommand : std::uint8_t {
    ApplySettings = 0,
    HardwareReset = 1,
    SoftwareReset = 2,
    PatternOn = 3,
    PatternOff = 4,
    SetBoxId = 8,
    RgbwPatternOn = 11,
    FinishApply = 100,
};

inline constexpr std::uint8_t kStatusRequest = 0xFF;  // single byte, not a frame
inline constexpr std::uint8_t kNegativeReply = 0xFE;
inline constexpr std::uint8_t kEndMark = 0xAA;
inline constexpr std::uint8_t kMarkerT = 0x54;
inline constexpr std::uint8_t kMarkerD = 0x44;
inline constexpr std::uint8_t kNoChoice = 0xFF;  // resolution / bezel byte with no valid choice
inline constexpr std::size_t kFrameSize = 16;
inline constexpr std::size_t kDrainSize = 32;

// Byte offsets.
namespace frame_offset {
inline constexpr int code = 0;
inline constexpr int firmware = 2;
inline constexpr int boxId = 3;
inline constexpr int flags = 4;  // 4 bytes, little-endian
inline constexpr int resolutionDp1 = 8;
inline constexpr int resolutionDp2 = 9;
inline constexpr int hLimit = 11;
inline constexpr int vLimit = 12;
inline constexpr int hBezel = 13;
inline constexpr int vBezel = 14;
inline constexpr int endMark = 15;
}  // namespace frame_offset

// Bits of the flags word.
namespace frame_flags {
inline constexpr std::uint32_t clockSyncMask = 0x1Fu;  // bits 0-4: 0 DP1, 1 DP2, 2 OFF
inline constexpr std::uint32_t cloneBit = 1u << 5;
inline constexpr std::uint32_t stretchMask = 3u << 6;  // bits 6-7: 0 1x2, 1 1x4, 2 2x2
inline constexpr int stretchShift = 6;
inline constexpr std::uint32_t modeMask = 7u << 5;       // bits 5-7 written together
inline constexpr std::uint32_t frameRateBit = 1u << 15;  // 0 60 Hz, 1 120 Hz
}  // namespace frame_flags

struct DeviceFrame {
    std::array<std::uint8_t, kFrameSize> bytes{};

    std::uint8_t& operator[](std::size_t i) { return bytes[i]; }
    std::uint8_t operator[](std::size_t i) const { return bytes[i]; }

    std::uint32_t flags() const;
    void setFlags(std::uint32_t value);

    bool clone() const { return (flags() & frame_flags::cloneBit) != 0; }
    unsigned stretch() const {
        return (flags() & frame_flags::stretchMask) >> frame_flags::stretchShift;
    }
    unsigned clockSync() const { return flags() & frame_flags::clockSyncMask; }
    bool is120Hz() const { return (flags() & frame_flags::frameRateBit) != 0; }

    bool operator==(const DeviceFrame&) const = default;
};

// Pause between sending a command and waiting for its reply (ms).
std::uint32_t commandPauseMs(DeviceCommand command);

// The working frame as the panel constructs it: zero except H limit 50 and V limit 15.
DeviceFrame initialWorkingFrame();

enum class ReplyKind { Valid, Negative, Wrong };
// 16 bytes `reply` checked against the expected code (0xFF for the status request).
ReplyKind checkReply(const DeviceFrame& reply, std::uint8_t expectedCode);

// Bytes 4-7 (all 32 bits) and 8, 9, 11, 12 equal. Header, byte 10, bezels and end mark ignored.
bool settingsEqual(const DeviceFrame& a, const DeviceFrame& b);

}  // namespace quelt

#include "device/frame.h"

namespace quelt {

std::uint32_t DeviceFrame::flags() const {
    return static_cast<std::uint32_t>(bytes[4]) | (static_cast<std::uint32_t>(bytes[5]) << 8) |
           (static_cast<std::uint32_t>(bytes[6]) << 16) |
           (static_cast<std::uint32_t>(bytes[7]) << 24);
}

void DeviceFrame::setFlags(std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[static_cast<std::size_t>(frame_offset::flags + i)] =
            static_cast<std::uint8_t>(value >> (8 * i));
    }
}

std::uint32_t commandPauseMs(DeviceCommand command) {
    switch (command) {
        case DeviceCommand::PatternOn:
        case DeviceCommand::PatternOff:
        case DeviceCommand::RgbwPatternOn:
            return 0;
        default:
            return 1000;
    }
}

DeviceFrame initialWorkingFrame() {
    DeviceFrame frame;
    frame[frame_offset::hLimit] = 50;
    frame[frame_offset::vLimit] = 15;
    return frame;
}

ReplyKind checkReply(const DeviceFrame& reply, std::uint8_t expectedCode) {
    if (reply[frame_offset::code] == expectedCode && reply[frame_offset::endMark] == kEndMark) {
        return ReplyKind::Valid;
    }
    if (reply[frame_offset::code] == kNegativeReply) {
        return ReplyKind::Negative;
    }
    return ReplyKind::Wrong;
}

bool settingsEqual(const DeviceFrame& a, const DeviceFrame& b) {
    for (int i : {4, 5, 6, 7, 8, 9, 11, 12}) {
        if (a[static_cast<std::size_t>(i)] != b[static_cast<std::size_t>(i)]) {
            return false;
        }
    }
    return true;
}

}  // namespace quelt

#include "tools/cli/frame_text.h"

#include <cstdio>

#include "panel/resolution_lists.h"

namespace quelt::cli {

std::string modeKey(const DeviceFrame& frame) {
    if (frame.clone()) {
        return "clone";
    }
    static const char* const kStretch[] = {"1x2", "1x4", "2x2", "unknown"};
    return kStretch[frame.stretch() & 3u];
}

std::string syncKey(const DeviceFrame& frame) {
    switch (frame.clockSync()) {
        case 0:
            return "dp1";
        case 1:
            return "dp2";
        default:
            return "off";
    }
}

int frameRateHz(const DeviceFrame& frame) {
    return frame.is120Hz() ? 120 : 60;
}

int resolutionListSize(const DeviceFrame& frame) {
    return static_cast<int>(resolutionEntryCount(frame));
}

std::optional<std::string> resolutionText(const DeviceFrame& frame, std::uint8_t index) {
    static const ResolutionLists lists = buildResolutionLists();
    const ResolutionList& list = selectResolutionList(lists, frame);
    if (index >= list.size()) {
        return std::nullopt;
    }
    return list[index].text;
}

std::string flagsHex(const DeviceFrame& frame) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08x", static_cast<unsigned>(frame.flags()));
    return text;
}

std::string frameHex(const DeviceFrame& frame) {
    std::string hex;
    for (std::uint8_t byte : frame.bytes) {
        char two[3];
        std::snprintf(two, sizeof two, "%02x", static_cast<unsigned>(byte));
        hex += two;
    }
    return hex;
}

}  // namespace quelt::cli

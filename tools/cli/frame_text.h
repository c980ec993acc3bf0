#pragma once
// Names and texts of a frame's settings as the command-line tool prints them.
#include <optional>
#include <string>

#include "device/frame.h"

namespace quelt::cli {

std::string modeKey(const DeviceFrame& frame);  // "1x2", "1x4", "2x2", "clone" or "unknown"
std::string syncKey(const DeviceFrame& frame);  // "dp1", "dp2", "off" (any other value: "off")
int frameRateHz(const DeviceFrame& frame);      // 60 or 120
int resolutionListSize(const DeviceFrame& frame);
// The text of entry `index` of the list the frame's mode and rate select; none when the index
// is not in that list.
std::optional<std::string> resolutionText(const DeviceFrame& frame, std::uint8_t index);
std::string flagsHex(const DeviceFrame& frame);  // "0x%08x"
std::string frameHex(const DeviceFrame& frame);  // 32 hex digits

}  // namespace quelt::cli

#pragma once
// The eight resolution lists (four layouts at 60 Hz with 14 entries, the same layouts at 120 Hz
// with their first five entries) and the rule that picks one of them from a frame.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "device/frame.h"

namespace quelt {

struct ResolutionEntry {
    std::uint8_t index = 0;  // position in its list, what travels to the box
    std::string text;        // "2048 x 768"

    bool operator==(const ResolutionEntry&) const = default;
};

using ResolutionList = std::vector<ResolutionEntry>;
inline constexpr int kResolutionListCount = 8;
using ResolutionLists = std::array<ResolutionList, kResolutionListCount>;

inline constexpr std::size_t kResolutionEntries60Hz = 14;
inline constexpr std::size_t kResolutionEntries120Hz = 5;

// Lists 0-3: Stretch 1 x 2, Stretch 1 x 4, Stretch 2 x 2, Clone at 60 Hz; lists 4-7 the same
// layouts at 120 Hz.
ResolutionLists buildResolutionLists();

// 3 when the clone bit is set, else the stretch field (3 also means Clone); +4 at 120 Hz.
int resolutionListIndex(const DeviceFrame& frame);

// Number of entries (and slider stops) in use at the frame's rate: 14 at 60 Hz, 5 at 120 Hz.
std::size_t resolutionEntryCount(const DeviceFrame& frame);

// The list the frame selects.
const ResolutionList& selectResolutionList(const ResolutionLists& lists, const DeviceFrame& frame);

}  // namespace quelt

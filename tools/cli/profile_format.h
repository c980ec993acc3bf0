#pragma once
// Wall profiles: the settings of every box of a wall in one JSON file that can be versioned,
// diffed and reviewed. Reading checks the whole text before any of it is used. Nothing here
// talks to a box or touches a file.
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "device/frame.h"
#include "tools/cli/cli_options.h"
#include "tools/cli/report.h"

namespace quelt::cli {

inline constexpr const char* kProfileFormat = "quelt-wall-profile";
inline constexpr int kProfileVersion = 1;

// A box as it is saved: its table record and its status frame.
struct SavedBox {
    int com = 0;
    int boxId = 0;
    int firmware = 0;
    DeviceFrame frame{};
};

// The profile text of `boxes` (in that order), saved at `saved` ("2026-12-10T14:00:00Z").
std::string profileText(const std::vector<SavedBox>& boxes, const std::string& saved);

// A box entry of a profile that passed every check.
struct ProfileBox {
    int com = 0;
    int boxId = 0;
    int firmware = 0;
    SettingEdits settings;  // every setting but the box ID is set
    std::string frame;      // the status frame when saved, 32 hex digits (for reference)
};

struct ProfileRead {
    std::vector<ProfileBox> boxes;  // empty when the text has a fault
    // The first fault found, naming the box entry and the field, e.g.
    // "boxes[1] (COM4, ID 2): settings.hBezel: 80 is above hLimit 50".
    std::string fault;
};

// Reads and checks a whole profile: JSON syntax, format and version, every field present,
// known and in range, resolution indices inside the list of the saved mode and rate, DP2
// following DP1 where the mode ties them, bezels within their limits, one entry per COM port.
ProfileRead readProfile(const std::string& text);

// The settings of `frame` by the names and values of `status --json`.
Json settingsJson(const DeviceFrame& frame);

// "2026-12-10T14:00:00Z"
std::string utcTimestamp(std::chrono::system_clock::time_point when);

// A box that discovery found.
struct FoundBox {
    int com = 0;
    int boxId = 0;
};

// For each saved box, the index of the found box it belongs to, or -1 when none does. A saved
// box matches the found box with its ID; where that ID is not unique among the found boxes (or
// among the saved ones), only the box with that ID on the saved COM port matches. IDs are never
// changed to make a match.
std::vector<int> matchBoxes(const std::vector<ProfileBox>& saved,
                            const std::vector<FoundBox>& found);

}  // namespace quelt::cli

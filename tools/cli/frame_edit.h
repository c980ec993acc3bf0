#pragma once
// Turning the command line's setting changes into the working frame, the way the panel's
// controls would write it, and refusing values the box's current settings rule out.
#include <string>

#include "device/frame.h"
#include "tools/cli/cli_options.h"

namespace quelt::cli {

// Writes the named settings into `frame`; everything else stays. In Stretch 1 x 4 and
// Stretch 2 x 2 the DP2 resolution follows DP1, as the panel's tied DP2 slider does.
void applyEdits(DeviceFrame& frame, const SettingEdits& edits);

// Empty when the edits fit the box's `reported` settings; otherwise why they do not (a
// resolution index beyond the list of the resulting mode and rate, a bezel amount above the
// resulting limit, a DP2 choice in a mode where DP2 follows DP1).
std::string checkEdits(const DeviceFrame& reported, const SettingEdits& edits);

// True when DP2 follows DP1 in `frame`'s mode.
bool dp2Tied(const DeviceFrame& frame);

}  // namespace quelt::cli

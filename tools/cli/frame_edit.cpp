#include "tools/cli/frame_edit.h"

#include "tools/cli/frame_text.h"

namespace quelt::cli {
namespace {

std::uint32_t modeBits(ModeChoice mode) {
    switch (mode) {
        case ModeChoice::Stretch1x2:
            return 0;
        case ModeChoice::Stretch1x4:
            return 1u << frame_flags::stretchShift;
        case ModeChoice::Stretch2x2:
            return 2u << frame_flags::stretchShift;
        case ModeChoice::Clone:
            return frame_flags::cloneBit;
    }
    return 0;
}

std::uint32_t syncValue(SyncChoice sync) {
    switch (sync) {
        case SyncChoice::Dp1:
            return 0;
        case SyncChoice::Dp2:
            return 1;
        case SyncChoice::Off:
            return 2;
    }
    return 2;
}

void setByte(DeviceFrame& frame, int offset, const std::optional<std::uint8_t>& value) {
    if (value) {
        frame[static_cast<std::size_t>(offset)] = *value;
    }
}

// The named settings alone, without the DP2 tie.
DeviceFrame withNamedSettings(DeviceFrame frame, const SettingEdits& edits) {
    std::uint32_t flags = frame.flags();
    if (edits.mode) {
        flags = (flags & ~frame_flags::modeMask) | modeBits(*edits.mode);
    }
    if (edits.sync) {
        flags = (flags & ~frame_flags::clockSyncMask) | syncValue(*edits.sync);
    }
    if (edits.rate120) {
        flags = *edits.rate120 ? (flags | frame_flags::frameRateBit)
                               : (flags & ~frame_flags::frameRateBit);
    }
    frame.setFlags(flags);
    setByte(frame, frame_offset::resolutionDp1, edits.resolutionDp1);
    setByte(frame, frame_offset::resolutionDp2, edits.resolutionDp2);
    setByte(frame, frame_offset::hLimit, edits.hLimit);
    setByte(frame, frame_offset::vLimit, edits.vLimit);
    setByte(frame, frame_offset::hBezel, edits.hBezel);
    setByte(frame, frame_offset::vBezel, edits.vBezel);
    setByte(frame, frame_offset::boxId, edits.boxId);
    return frame;
}

std::string resolutionProblem(const char* port, std::uint8_t index, const DeviceFrame& frame) {
    const int entries = resolutionListSize(frame);
    if (index == kNoChoice || index < entries) {
        return {};
    }
    return std::string(port) + " resolution index " + std::to_string(index) + " is beyond the " +
           std::to_string(entries) + " entries of the " + modeKey(frame) + " list at " +
           std::to_string(frameRateHz(frame)) + " Hz";
}

std::string bezelProblem(const char* which, std::uint8_t amount, std::uint8_t limit,
                         bool amountNamed) {
    if (amount == kNoChoice || amount <= limit) {
        return {};
    }
    std::string problem = std::string(which) + " bezel " + std::to_string(amount) +
                          " is above the " + which + " limit " + std::to_string(limit);
    if (!amountNamed) {
        problem += std::string(" (give --") + (which[0] == 'H' ? "hbezel" : "vbezel") + ")";
    }
    return problem;
}

}  // namespace

bool dp2Tied(const DeviceFrame& frame) {
    return !frame.clone() && (frame.stretch() == 1 || frame.stretch() == 2);
}

void applyEdits(DeviceFrame& frame, const SettingEdits& edits) {
    frame = withNamedSettings(frame, edits);
    if (dp2Tied(frame) && frame[frame_offset::resolutionDp1] != kNoChoice) {
        frame[frame_offset::resolutionDp2] = frame[frame_offset::resolutionDp1];
    }
}

std::string checkEdits(const DeviceFrame& reported, const SettingEdits& edits) {
    const DeviceFrame result = withNamedSettings(reported, edits);
    const bool listChanged = edits.mode || edits.rate120;
    const bool tied = dp2Tied(result);
    const std::uint8_t res1 = result[frame_offset::resolutionDp1];
    const std::uint8_t res2 = result[frame_offset::resolutionDp2];

    std::string problem;
    if (listChanged || edits.resolutionDp1) {
        problem = resolutionProblem("DP1", res1, result);
    }
    if (problem.empty() && tied && edits.resolutionDp2 && *edits.resolutionDp2 != res1) {
        problem = "in " + modeKey(result) + " the DP2 resolution follows DP1 (index " +
                  std::to_string(res1) + ")";
    }
    if (problem.empty() && !tied && (listChanged || edits.resolutionDp2)) {
        problem = resolutionProblem("DP2", res2, result);
    }
    if (problem.empty() && (edits.hLimit || edits.hBezel)) {
        problem = bezelProblem("H", result[frame_offset::hBezel], result[frame_offset::hLimit],
                               edits.hBezel.has_value());
    }
    if (problem.empty() && (edits.vLimit || edits.vBezel)) {
        problem = bezelProblem("V", result[frame_offset::vBezel], result[frame_offset::vLimit],
                               edits.vBezel.has_value());
    }
    return problem;
}

}  // namespace quelt::cli

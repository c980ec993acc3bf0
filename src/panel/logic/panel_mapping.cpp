#include "panel/logic/panel_mapping.h"

#include <algorithm>
#include <cstddef>
#include <span>

#include "panel/logic/control_state.h"
#include "panel/panel_messages.h"
#include "panel/slider_geometry.h"

namespace quelt {
namespace {

constexpr std::uint32_t kModeBits = frame_flags::modeMask;
constexpr std::uint32_t kStretch1x4Bit = 1u << 6;
constexpr std::uint32_t kStretch2x2Bit = 1u << 7;

// Mode group members in index order and the bits each one writes into bits 5-7.
constexpr int kModeStretch1x2 = 0;
constexpr int kModeStretch1x4 = 1;
constexpr int kModeStretch2x2 = 2;
constexpr int kModeClone = 3;

constexpr std::uint8_t kHLimits[] = {0, 50, 100, 150, 200, 250};
constexpr std::uint8_t kVLimits[] = {15, 30, 45, 60};

std::uint32_t withMode(std::uint32_t flags, int member) {
    flags &= ~kModeBits;
    switch (member) {
        case kModeStretch1x4:
            return flags | kStretch1x4Bit;
        case kModeStretch2x2:
            return flags | kStretch2x2Bit;
        case kModeClone:
            return flags | frame_flags::cloneBit;
        default:
            return flags;
    }
}

// Mode member a frame shows: Clone when the clone bit is set, else the stretch field; stretch 3
// shows none.
int modeMemberOf(const DeviceFrame& frame) {
    if (frame.clone()) {
        return kModeClone;
    }
    const unsigned stretch = frame.stretch();
    return stretch <= 2 ? static_cast<int>(stretch) : -1;
}

template <std::size_t N>
int memberOfValue(const std::uint8_t (&values)[N], std::uint8_t value, int otherwise) {
    for (std::size_t i = 0; i < N; ++i) {
        if (values[i] == value) {
            return static_cast<int>(i);
        }
    }
    return otherwise;
}

void placeLabel(SkinText& label, const std::string& text, std::int32_t left, std::int32_t right,
                std::int32_t top) {
    label.text = text;
    label.rect = SkinRect{left, top, right, top + resolution_label::kHeight};
}

}  // namespace

std::string panelTitleText() {
    return std::string("Quelt Control Center - ") + kVersionText;
}

void setTitleText(PanelControls& controls) {
    controls.panelLabels[ctl::kTitleLabel].text = panelTitleText();
}

SkinSlider bezelSliderDescriptor(BezelAxis axis, int limit, const std::string& skinRoot) {
    return sliderDescriptor(kBezelGeometry[static_cast<int>(axis)], limit + 1, skinRoot);
}

PanelMapping::PanelMapping(PanelControls& controls, PanelServices& services)
    : controls_(controls), services_(services), lists_(buildResolutionLists()) {}

void PanelMapping::refreshResolutionLabels(const DeviceFrame& frame) {
    auto& sliders = controls_.resolutionSliders;
    sliders[ctl::kDp1Slider60].GetStops(controls_.stops60);
    sliders[ctl::kDp1Slider120].GetStops(controls_.stops120);

    const bool rate120 = frame.is120Hz();
    const ResolutionList& list = selectResolutionList(lists_, frame);
    const std::vector<std::int32_t>& stops = rate120 ? controls_.stops120 : controls_.stops60;
    const std::size_t first = rate120 ? static_cast<std::size_t>(ctl::kFirst120Label) : 0;
    std::size_t count = resolutionEntryCount(frame);
    // A slider with fewer stops than entries places only the labels it has stops for.
    count = std::min({count, list.size(), stops.size()});
    for (std::size_t i = 0; i < count; ++i) {
        const std::int32_t y = stops[i];
        placeLabel(controls_.dp1Labels[first + i], list[i].text, resolution_label::kDp1Left,
                   resolution_label::kDp1Right, y);
        placeLabel(controls_.dp2Labels[first + i], list[i].text, resolution_label::kDp2Left,
                   resolution_label::kDp2Right, y);
    }
}

void PanelMapping::panelToFrame(DeviceFrame& frame) const {
    std::uint32_t flags = frame.flags();
    const auto& mode = controls_.modeGroup;
    // Clone is tested first, then the stretch members in index order.
    for (int member : {kModeClone, kModeStretch1x2, kModeStretch1x4, kModeStretch2x2}) {
        if (isOnState(mode[static_cast<std::size_t>(member)].state)) {
            flags = withMode(flags, member);
            break;
        }
    }
    const int clock = firstOn(controls_.clockSyncGroup);
    if (clock >= 0) {
        flags = (flags & ~frame_flags::clockSyncMask) | static_cast<std::uint32_t>(clock);
    }
    if (isOnState(controls_.frameRateGroup[0].state)) {
        flags &= ~frame_flags::frameRateBit;
    } else if (isOnState(controls_.frameRateGroup[1].state)) {
        flags |= frame_flags::frameRateBit;
    }
    frame.setFlags(flags);

    // Member 0 of the H limit group is not tested: its handler has already written 0.
    const auto& hLimit = controls_.hLimitGroup;
    for (std::size_t i = 1; i < hLimit.size(); ++i) {
        if (isOnState(hLimit[i].state)) {
            frame[frame_offset::hLimit] = kHLimits[i];
            break;
        }
    }
    const int vLimit = firstOn(controls_.vLimitGroup);
    if (vLimit >= 0) {
        frame[frame_offset::vLimit] = kVLimits[vLimit];
    }
    const int id = firstOn(controls_.deviceIdGroup);
    if (id >= 0) {
        frame[frame_offset::boxId] = static_cast<std::uint8_t>(id + 1);
    }

    const auto& sliders = controls_.resolutionSliders;
    const bool rate120 = frame.is120Hz();
    const SkinSlider& dp1 = sliders[rate120 ? ctl::kDp1Slider120 : ctl::kDp1Slider60];
    const SkinSlider& dp2 = sliders[rate120 ? ctl::kDp2Slider120 : ctl::kDp2Slider60];
    frame[frame_offset::resolutionDp1] = stopByte(dp1.GetStop());
    frame[frame_offset::resolutionDp2] = stopByte(dp2.GetStop());
}

void PanelMapping::framesToPanel(const DeviceFrame& frame) {
    showOnlyMember(controls_.modeGroup, modeMemberOf(frame));
    const unsigned clock = frame.clockSync();
    showOnlyMember(controls_.clockSyncGroup, clock <= 1 ? static_cast<int>(clock) : 2);
    showOnlyMember(controls_.frameRateGroup, frame.is120Hz() ? 1 : 0);
    showOnlyMember(controls_.hLimitGroup, memberOfValue(kHLimits, frame[frame_offset::hLimit], 5));
    showOnlyMember(controls_.vLimitGroup, memberOfValue(kVLimits, frame[frame_offset::vLimit], 3));
    const std::uint8_t id = frame[frame_offset::boxId];
    showOnlyMember(controls_.deviceIdGroup, id >= 2 && id <= 6 ? id - 1 : 0);

    refreshResolutionLabels(frame);
    rebuildBezelSlider(BezelAxis::Horizontal, frame[frame_offset::hLimit]);
    rebuildBezelSlider(BezelAxis::Vertical, frame[frame_offset::vLimit]);

    // Resolution bytes are signed (0xFF is "no choice" and moves nothing); bezel bytes unsigned.
    const int dp1 = static_cast<std::int8_t>(frame[frame_offset::resolutionDp1]);
    const int dp2 = static_cast<std::int8_t>(frame[frame_offset::resolutionDp2]);
    auto& sliders = controls_.resolutionSliders;
    sliders[ctl::kDp1Slider60].SetStop(dp1);
    sliders[ctl::kDp1Slider120].SetStop(dp1);
    sliders[ctl::kDp2Slider60].SetStop(dp2);
    sliders[ctl::kDp2Slider120].SetStop(dp2);
    controls_.bezelSliders[ctl::kHBezel].SetStop(frame[frame_offset::hBezel]);
    controls_.bezelSliders[ctl::kVBezel].SetStop(frame[frame_offset::vBezel]);
}

void PanelMapping::rebuildBezelSlider(BezelAxis axis, int limit) {
    const int index = static_cast<int>(axis);
    SkinSlider& slider = controls_.bezelSliders[static_cast<std::size_t>(index)];
    slider.Unload();
    slider.Assign(bezelSliderDescriptor(axis, limit, skinRoot_));
    slider.Load();  // without its images the stops are still built; painting shows nothing
    services_.post(kBezelGeometry[index].message, static_cast<std::uintptr_t>(index));
}

}  // namespace quelt

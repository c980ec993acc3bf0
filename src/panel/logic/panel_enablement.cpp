#include "panel/logic/panel_enablement.h"

#include <span>

#include "skin/control_rules.h"

namespace quelt {
namespace {

// Enables or disables every control of each range (the per-kind rules are the skin's SetEnabled).
template <class... Ranges>
void setAllEnabled(bool enable, Ranges&&... ranges) {
    const auto setRange = [enable](auto& controls) {
        for (auto& control : controls) {
            SetEnabled(control, enable);
        }
    };
    (setRange(ranges), ...);
}

enum class BezelRow { Off, HOnly, Both };

BezelRow bezelRow(const DeviceFrame& frame) {
    if (frame[frame_offset::hLimit] == 0 || frame.clone()) {
        return BezelRow::Off;
    }
    const unsigned sync = frame.clockSync();
    const unsigned stretch = frame.stretch();
    const bool stretchMode = stretch <= 2;
    if (!frame.is120Hz()) {
        if (sync == 2 && stretch <= 1) {
            return BezelRow::HOnly;
        }
        if (sync == 2 && stretch == 2) {
            return BezelRow::Both;
        }
        if (sync <= 1 && stretchMode) {
            return BezelRow::Off;
        }
        return BezelRow::Both;
    }
    // 120 Hz: every configuration the panel writes has no bezel compensation.
    if (sync <= 2 && stretchMode) {
        return BezelRow::Off;
    }
    return BezelRow::Both;
}

}  // namespace

void setPanelEnabled(PanelControls& c, bool enable) {
    setAllEnabled(enable, std::span(c.panelLabels).subspan(1), c.deviceInfoTexts, c.staticImages);
    for (int button :
         {ctl::kHwResetButton, ctl::kSwResetButton, ctl::kAdvanceButton, ctl::kApplyButton}) {
        SetEnabled(c.buttons[static_cast<std::size_t>(button)], enable);
    }
    SetEnabled(c.syncCheckBox[0], enable);
    SetEnabled(c.switches[ctl::kPatternSwitch], enable);
    SetEnabled(c.switches[ctl::kRgbwSwitch], enable);
    setAllEnabled(enable, c.modeGroup, c.clockSyncGroup, c.frameRateGroup, c.hLimitGroup,
                  c.vLimitGroup, c.deviceBoxGroup, c.deviceIdGroup, c.resolutionSliders,
                  c.dp1Labels, c.dp2Labels, c.bezelTexts, c.bezelSliders);
}

void updateBezelEnable(PanelControls& c, const DeviceFrame& frame) {
    const BezelRow row = bezelRow(frame);
    SetEnabled(c.bezelSliders[ctl::kHBezel], row != BezelRow::Off);
    SetEnabled(c.bezelSliders[ctl::kVBezel], row == BezelRow::Both);
}

void updateResolutionEnable(PanelControls& c, const DeviceFrame& frame) {
    const bool free = frame.clone() || frame.stretch() == 0;
    const bool rate120 = frame.is120Hz();
    SkinSlider& dp1 = c.resolutionSliders[rate120 ? ctl::kDp1Slider120 : ctl::kDp1Slider60];
    SkinSlider& dp2 = c.resolutionSliders[rate120 ? ctl::kDp2Slider120 : ctl::kDp2Slider60];
    const auto labels = rate120
                            ? std::span(c.dp2Labels).subspan(ctl::kFirst120Label, ctl::kLabels120)
                            : std::span(c.dp2Labels).first(ctl::kLabels60);
    SetEnabled(dp2, free);
    if (!free) {
        dp2.SetStop(dp1.GetStop());  // no move while the DP1 thumb rests on no stop
    }
    setAllEnabled(free, labels);
}

void enterPatternShowing(PanelControls& c, int switchIndex) {
    setPanelEnabled(c, false);
    SetEnabled(c.switches[ctl::kSerialComSwitch], false);
    c.switches[static_cast<std::size_t>(switchIndex)].state = 1;
    c.buttons[ctl::kExitButton].state = 3;
}

void leavePatternShowing(PanelControls& c, const DeviceFrame& workingFrame) {
    setPanelEnabled(c, true);
    SetEnabled(c.switches[ctl::kSerialComSwitch], true);
    c.buttons[ctl::kExitButton].state = 0;
    updateBezelEnable(c, workingFrame);
    updateResolutionEnable(c, workingFrame);
}

}  // namespace quelt

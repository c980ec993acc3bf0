#include "panel/logic/panel_enablement.h"

#include <span>

namespace quelt {
namespace {

// Slider: 0 usable, 2 disabled. Push button: 0 / 3. Static image: 0 / 1. Text: grey flag.
void applySlider(SkinSlider& slider, bool enable) {
    slider.state = enable ? 0 : 2;
}
void applyButton(SkinButton& button, bool enable) {
    button.state = enable ? 0 : 3;
}
void applyImage(SkinStaticImage& image, bool enable) {
    image.state = enable ? 0 : 1;
}
void applyText(SkinText& text, bool enable) {
    text.disabled = enable ? 0 : 1;
}

template <class Control>
void applyTwoState(Control& control, bool enable) {
    control.state = twoStateRule(control.state, enable);
}

template <class Range, class Rule>
void applyAll(Range&& controls, bool enable, Rule rule) {
    for (auto& control : controls) {
        rule(control, enable);
    }
}

template <std::size_t N>
void applyRadioGroup(std::array<SkinRadioButton, N>& group, bool enable) {
    applyAll(group, enable, applyTwoState<SkinRadioButton>);
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

ControlState twoStateRule(ControlState state, bool enable) {
    if (enable) {
        return state == 3 ? 1 : 0;
    }
    return state == 1 ? 3 : 2;
}

void setPanelEnabled(PanelControls& c, bool enable) {
    applyAll(std::span(c.panelLabels).subspan(1), enable, applyText);
    applyAll(c.deviceInfoTexts, enable, applyText);
    applyAll(c.staticImages, enable, applyImage);
    for (int button :
         {ctl::kHwResetButton, ctl::kSwResetButton, ctl::kAdvanceButton, ctl::kApplyButton}) {
        applyButton(c.buttons[static_cast<std::size_t>(button)], enable);
    }
    applyTwoState(c.syncCheckBox[0], enable);
    applyTwoState(c.switches[ctl::kPatternSwitch], enable);
    applyTwoState(c.switches[ctl::kRgbwSwitch], enable);
    applyRadioGroup(c.modeGroup, enable);
    applyRadioGroup(c.clockSyncGroup, enable);
    applyRadioGroup(c.frameRateGroup, enable);
    applyRadioGroup(c.hLimitGroup, enable);
    applyRadioGroup(c.vLimitGroup, enable);
    applyRadioGroup(c.deviceBoxGroup, enable);
    applyRadioGroup(c.deviceIdGroup, enable);
    applyAll(c.resolutionSliders, enable, applySlider);
    applyAll(c.dp1Labels, enable, applyText);
    applyAll(c.dp2Labels, enable, applyText);
    applyAll(c.bezelTexts, enable, applyText);
    applyAll(c.bezelSliders, enable, applySlider);
}

void updateBezelEnable(PanelControls& c, const DeviceFrame& frame) {
    const BezelRow row = bezelRow(frame);
    applySlider(c.bezelSliders[ctl::kHBezel], row != BezelRow::Off);
    applySlider(c.bezelSliders[ctl::kVBezel], row == BezelRow::Both);
}

void updateResolutionEnable(PanelControls& c, const DeviceFrame& frame) {
    const bool free = frame.clone() || frame.stretch() == 0;
    const bool rate120 = frame.is120Hz();
    SkinSlider& dp1 = c.resolutionSliders[rate120 ? ctl::kDp1Slider120 : ctl::kDp1Slider60];
    SkinSlider& dp2 = c.resolutionSliders[rate120 ? ctl::kDp2Slider120 : ctl::kDp2Slider60];
    const auto labels = rate120
                            ? std::span(c.dp2Labels).subspan(ctl::kFirst120Label, ctl::kLabels120)
                            : std::span(c.dp2Labels).first(ctl::kLabels60);
    applySlider(dp2, free);
    if (!free) {
        dp2.SetStop(dp1.GetStop());  // no move while the DP1 thumb rests on no stop
    }
    applyAll(labels, free, applyText);
}

void enterPatternShowing(PanelControls& c, int switchIndex) {
    setPanelEnabled(c, false);
    applyTwoState(c.switches[ctl::kSerialComSwitch], false);
    c.switches[static_cast<std::size_t>(switchIndex)].state = 1;
    c.buttons[ctl::kExitButton].state = 3;
}

void leavePatternShowing(PanelControls& c, const DeviceFrame& workingFrame) {
    setPanelEnabled(c, true);
    applyTwoState(c.switches[ctl::kSerialComSwitch], true);
    c.buttons[ctl::kExitButton].state = 0;
    updateBezelEnable(c, workingFrame);
    updateResolutionEnable(c, workingFrame);
}

}  // namespace quelt

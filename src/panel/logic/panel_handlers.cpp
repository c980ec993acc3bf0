#include "panel/logic/panel_handlers.h"

#include "base/key_codes.h"

#include <cstdio>
#include <span>

#include "base/ui_strings.h"
#include "device/flags.h"
#include "panel/logic/control_state.h"
#include "panel/logic/panel_enablement.h"
#include "panel/panel_messages.h"
#include "skin/control_rules.h"

namespace quelt {
namespace {

constexpr std::uint8_t kHLimitStep = 50;
constexpr std::uint8_t kVLimitStep = 15;
constexpr std::uintptr_t kDigitOne = vk::kDigit1;  // key codes of "1".."6"
constexpr std::uintptr_t kF1 = vk::kF1;            // key codes of F1..F6
constexpr std::uintptr_t kKeyedBoxes = 6;

// Member `w` of a group, or null when `w` is outside it.
template <class Control, std::size_t N>
Control* member(std::array<Control, N>& group, std::uintptr_t w) {
    return w < N ? &group[w] : nullptr;
}

template <class Control, std::size_t N>
void release(std::array<Control, N>& group, std::uintptr_t w) {
    if (Control* control = member(group, w)) {
        control->pending = 0;
    }
}

// Radio choice of member `w` (nothing when `w` is outside the group), then its release.
template <std::size_t N>
void selectAndRelease(std::array<SkinRadioButton, N>& group, std::uintptr_t w) {
    if (w < N) {
        SelectRadio(group, static_cast<int>(w));
    }
    release(group, w);
}

// Index of the box a keyboard shortcut addresses: key code minus the first code; other codes
// address box 0.
int keyedBox(std::uintptr_t keyCode, std::uintptr_t firstCode) {
    return keyCode >= firstCode && keyCode - firstCode < kKeyedBoxes
               ? static_cast<int>(keyCode - firstCode)
               : 0;
}

std::string bezelText(const char* name, std::uint8_t value) {
    char text[32];
    std::snprintf(text, sizeof text, "%s = %u", name, static_cast<unsigned>(value));
    return text;
}

}  // namespace

const PanelHandlers::Entry PanelHandlers::kTable[] = {
    {msg::SyncCheckBox, &PanelHandlers::onSyncCheckBox},
    {msg::StartupDone, &PanelHandlers::onStartupDone},
    {msg::SerialComSwitch, &PanelHandlers::onSerialComSwitch},
    {msg::PatternSwitch, &PanelHandlers::onPatternSwitch},
    {msg::RgbwSwitch, &PanelHandlers::onRgbwSwitch},
    {msg::HwResetButton, &PanelHandlers::onHwReset},
    {msg::SwResetButton, &PanelHandlers::onSwReset},
    {msg::ApplyButton, &PanelHandlers::onApply},
    {msg::AdvanceButton, &PanelHandlers::onAdvance},
    {msg::ExitButton, &PanelHandlers::onExit},
    {msg::ModeGroup, &PanelHandlers::onModeGroup},
    {msg::ClockSyncGroup, &PanelHandlers::onClockSyncGroup},
    {msg::FrameRateGroup, &PanelHandlers::onFrameRateGroup},
    {msg::HLimitGroup, &PanelHandlers::onHLimitGroup},
    {msg::VLimitGroup, &PanelHandlers::onVLimitGroup},
    {msg::DeviceBoxGroup, &PanelHandlers::onDeviceBoxGroup},
    {msg::DeviceIdGroup, &PanelHandlers::onDeviceIdGroup},
    {msg::Dp1Slider, &PanelHandlers::onDp1Slider},
    {msg::Dp2Slider, &PanelHandlers::onDp2Slider},
    {msg::HBezelSlider, &PanelHandlers::onHBezelSlider},
    {msg::VBezelSlider, &PanelHandlers::onVBezelSlider},
    {msg::KeyPattern, &PanelHandlers::onKeyPattern},
    {msg::KeyRgbwPattern, &PanelHandlers::onKeyRgbwPattern},
    {msg::KeyAllOff, &PanelHandlers::onKeyAllOff},
};

PanelHandlers::PanelHandlers(PanelMapping& mapping, PanelDeviceView& view, DeviceLink& link)
    : mapping_(mapping), link_(link) {
    view.onOperationFinished = [this](int) { operationInFlight_ = false; };
}

const PanelHandlers::Entry* PanelHandlers::find(std::uint32_t message) {
    for (const Entry& entry : kTable) {
        if (entry.message == message) {
            return &entry;
        }
    }
    return nullptr;
}

bool PanelHandlers::knows(std::uint32_t message) {
    return find(message) != nullptr;
}

std::intptr_t PanelHandlers::handle(std::uint32_t message, std::uintptr_t wParam, std::intptr_t) {
    if (const Entry* entry = find(message)) {
        (this->*(entry->handler))(wParam);
    }
    return 0;
}

// --- check box, start-up, buttons ---

void PanelHandlers::onSyncCheckBox(std::uintptr_t) {
    link_.syncToAll = link_.syncToAll == 0 ? 1 : 0;
    controls().syncCheckBox[0].pending = 0;
    repaint();
}

void PanelHandlers::onStartupDone(std::uintptr_t) {
    repaint();
    services().centrePanel();
}

void PanelHandlers::onHwReset(std::uintptr_t w) {
    startOperation(OperationKind::HardwareReset, w, true);
}

void PanelHandlers::onSwReset(std::uintptr_t w) {
    startOperation(OperationKind::SoftwareReset, w, true);
}

void PanelHandlers::onApply(std::uintptr_t w) {
    startOperation(OperationKind::Apply, w, false);
}

void PanelHandlers::startOperation(OperationKind kind, std::uintptr_t w, bool checkSwitches) {
    const auto& switches = controls().switches;
    const bool switchOn = checkSwitches && (isOnState(switches[ctl::kPatternSwitch].state) ||
                                            isOnState(switches[ctl::kRgbwSwitch].state));
    const int buttonIndex = static_cast<int>(w & 0xFF);
    if (operationInFlight_ || workerBusy != 0 || patternActive != 0 || switchOn ||
        link_.startOperation(kind, buttonIndex) != 1) {
        // Nothing will release the button otherwise; it must be able to post again.
        release(controls().buttons, static_cast<std::uintptr_t>(buttonIndex));
        return;
    }
    operationInFlight_ = true;
}

void PanelHandlers::onAdvance(std::uintptr_t) {
    controls().buttons[ctl::kAdvanceButton].pending = 0;
}

void PanelHandlers::onExit(std::uintptr_t) {
    services().quit(0);
    controls().buttons[ctl::kExitButton].pending = 0;
}

// --- switches ---

void PanelHandlers::undoSwitch(int switchIndex) {
    SkinSwitch& control = controls().switches[static_cast<std::size_t>(switchIndex)];
    if (!isDisabledState(control.state)) {
        control.state = control.state == 1 ? 0 : 1;
    }
    control.pending = 0;
    repaint();
}

void PanelHandlers::onSerialComSwitch(std::uintptr_t) {
    if (operationInFlight_) {
        undoSwitch(ctl::kSerialComSwitch);
        return;
    }
    if (isOnState(controls().switches[ctl::kSerialComSwitch].state)) {
        connect();
    } else {
        disconnect();
    }
    setTitleText(controls());
    repaint();
    controls().switches[ctl::kSerialComSwitch].pending = 0;
}

void PanelHandlers::connect() {
    if (link_.discoverBoxes() == 1) {
        shortcutsEnabled = 1;
        services().installKeyboardHook();
        return;
    }
    services().showError(ui_error::kSerialComInit);
    turnOffUnlessDisabled(controls().switches[ctl::kSerialComSwitch]);
    setPanelEnabled(controls(), false);
}

void PanelHandlers::disconnect() {
    link_.closeAllBoxes();
    turnOffUnlessDisabled(controls().switches[ctl::kSerialComSwitch]);
    turnOffUnlessDisabled(controls().switches[ctl::kPatternSwitch]);
    services().removeKeyboardHook();
    shortcutsEnabled = 0;
    setPanelEnabled(controls(), false);
}

void PanelHandlers::onPatternSwitch(std::uintptr_t) {
    patternSwitch(ctl::kPatternSwitch, DeviceCommand::PatternOn);
}

void PanelHandlers::onRgbwSwitch(std::uintptr_t) {
    patternSwitch(ctl::kRgbwSwitch, DeviceCommand::RgbwPatternOn);
}

void PanelHandlers::patternSwitch(int switchIndex, DeviceCommand patternOn) {
    if (operationInFlight_) {
        undoSwitch(switchIndex);
        return;
    }
    PanelControls& c = controls();
    SkinSwitch& control = c.switches[static_cast<std::size_t>(switchIndex)];
    if (!isOnState(control.state)) {
        if (link_.patternOffFromSwitch() == 1) {
            leavePatternShowing(c, link_.workingFrame());
            patternActive = 0;
        } else {
            turnOnUnlessDisabled(control);
            c.buttons[ctl::kExitButton].state = 0;
        }
    } else if (link_.patternOnFromSwitch(patternOn) == 1) {
        enterPatternShowing(c, switchIndex);
        patternActive = 1;
    } else {
        turnOffUnlessDisabled(control);
        c.buttons[ctl::kExitButton].state = 0;
    }
    control.pending = 0;
    repaint();
}

// --- radio groups ---

void PanelHandlers::onModeGroup(std::uintptr_t w) {
    selectAndRelease(controls().modeGroup, w);
    if (w <= 3) {
        link_.editWorkingFrame([w](DeviceFrame& frame) {
            static constexpr std::uint32_t kModeBits[] = {0, 1u << 6, 1u << 7,
                                                          frame_flags::cloneBit};
            frame.setFlags((frame.flags() & ~frame_flags::modeMask) | kModeBits[w]);
        });
    }
    const DeviceFrame working = link_.workingFrame();
    mapping_.refreshResolutionLabels(working);
    updateBezelEnable(controls(), working);
    updateResolutionEnable(controls(), working);
    repaint();
}

void PanelHandlers::onClockSyncGroup(std::uintptr_t w) {
    selectAndRelease(controls().clockSyncGroup, w);
    if (w <= 2) {
        link_.editWorkingFrame([w](DeviceFrame& frame) {
            frame.setFlags((frame.flags() & ~frame_flags::clockSyncMask) |
                           static_cast<std::uint32_t>(w));
        });
    }
    updateBezelEnable(controls(), link_.workingFrame());
    repaint();
}

void PanelHandlers::onFrameRateGroup(std::uintptr_t w) {
    selectAndRelease(controls().frameRateGroup, w);
    if (w <= 1) {
        link_.editWorkingFrame([w](DeviceFrame& frame) {
            const std::uint32_t flags = frame.flags() & ~frame_flags::frameRateBit;
            frame.setFlags(w == 1 ? flags | frame_flags::frameRateBit : flags);
        });
    }
    const DeviceFrame working = link_.workingFrame();
    mapping_.refreshResolutionLabels(working);
    updateResolutionEnable(controls(), working);
    repaint();
}

void PanelHandlers::onHLimitGroup(std::uintptr_t w) {
    selectAndRelease(controls().hLimitGroup, w);
    if (w == 0) {
        link_.editWorkingFrame([](DeviceFrame& frame) { frame[frame_offset::hLimit] = 0; });
        resetBezelToZero(BezelAxis::Horizontal);
        resetBezelToZero(BezelAxis::Vertical);
    } else if (w <= 5) {
        link_.editWorkingFrame([w](DeviceFrame& frame) {
            frame[frame_offset::hLimit] = static_cast<std::uint8_t>(w * kHLimitStep);
        });
    }
    const DeviceFrame working = link_.workingFrame();
    mapping_.rebuildBezelSlider(BezelAxis::Horizontal, working[frame_offset::hLimit]);
    updateBezelEnable(controls(), working);
    repaint();
}

void PanelHandlers::onVLimitGroup(std::uintptr_t w) {
    selectAndRelease(controls().vLimitGroup, w);
    if (w <= 3) {
        link_.editWorkingFrame([w](DeviceFrame& frame) {
            frame[frame_offset::vLimit] = static_cast<std::uint8_t>((w + 1) * kVLimitStep);
        });
    }
    const DeviceFrame working = link_.workingFrame();
    mapping_.rebuildBezelSlider(BezelAxis::Vertical, working[frame_offset::vLimit]);
    updateBezelEnable(controls(), working);
    repaint();
}

void PanelHandlers::onDeviceBoxGroup(std::uintptr_t w) {
    auto& group = controls().deviceBoxGroup;
    if (operationInFlight_) {
        SelectRadio(group, link_.currentBoxIndex());
    } else if (w < group.size()) {
        SelectRadio(group, static_cast<int>(w));
        link_.selectBox(static_cast<int>(w));
    }
    release(group, w);
    repaint();
}

void PanelHandlers::onDeviceIdGroup(std::uintptr_t w) {
    selectAndRelease(controls().deviceIdGroup, w);
    if (w <= 5) {
        link_.editWorkingFrame([w](DeviceFrame& frame) {
            frame[frame_offset::boxId] = static_cast<std::uint8_t>(w + 1);
        });
    }
    repaint();
}

// --- sliders ---

void PanelHandlers::resetBezelToZero(BezelAxis axis) {
    const int index = static_cast<int>(axis);
    SkinSlider& slider = controls().bezelSliders[static_cast<std::size_t>(index)];
    if (slider.GetStop() != 0) {
        slider.SetStop(0);
        services().post(axis == BezelAxis::Horizontal ? msg::HBezelSlider : msg::VBezelSlider,
                        static_cast<std::uintptr_t>(index));
    }
}

void PanelHandlers::onDp1Slider(std::uintptr_t w) {
    updateResolutionEnable(controls(), link_.workingFrame());
    resetBezelToZero(BezelAxis::Horizontal);
    resetBezelToZero(BezelAxis::Vertical);
    if (SkinSlider* slider = member(controls().resolutionSliders, w)) {
        const std::uint8_t stop = stopByte(slider->GetStop());
        link_.editWorkingFrame(
            [stop](DeviceFrame& frame) { frame[frame_offset::resolutionDp1] = stop; });
        slider->pending = 0;
    }
}

void PanelHandlers::onDp2Slider(std::uintptr_t w) {
    if (SkinSlider* slider = member(controls().resolutionSliders, w)) {
        const std::uint8_t stop = stopByte(slider->GetStop());
        link_.editWorkingFrame(
            [stop](DeviceFrame& frame) { frame[frame_offset::resolutionDp2] = stop; });
        slider->pending = 0;
    }
}

void PanelHandlers::onHBezelSlider(std::uintptr_t) {
    bezelSlider(BezelAxis::Horizontal);
}

void PanelHandlers::onVBezelSlider(std::uintptr_t) {
    bezelSlider(BezelAxis::Vertical);
}

void PanelHandlers::bezelSlider(BezelAxis axis) {
    const bool horizontal = axis == BezelAxis::Horizontal;
    const std::size_t index = horizontal ? ctl::kHBezel : ctl::kVBezel;
    SkinSlider& slider = controls().bezelSliders[index];
    const std::uint8_t stop = stopByte(slider.GetStop());
    link_.editWorkingFrame([stop, horizontal](DeviceFrame& frame) {
        frame[horizontal ? frame_offset::hBezel : frame_offset::vBezel] = stop;
    });
    controls().bezelTexts[index].text = bezelText(horizontal ? "HBezel" : "VBezel", stop);
    repaint();
    slider.pending = 0;
}

// --- keyboard shortcuts ---

void PanelHandlers::onKeyPattern(std::uintptr_t w) {
    if (!operationInFlight_) {
        link_.patternOnBox(keyedBox(w, kDigitOne), DeviceCommand::PatternOn);
    }
}

void PanelHandlers::onKeyRgbwPattern(std::uintptr_t w) {
    if (!operationInFlight_) {
        link_.patternOnBox(keyedBox(w, kF1), DeviceCommand::RgbwPatternOn);
    }
}

void PanelHandlers::onKeyAllOff(std::uintptr_t) {
    if (!operationInFlight_) {
        link_.allPatternsOff();
    }
}

}  // namespace quelt

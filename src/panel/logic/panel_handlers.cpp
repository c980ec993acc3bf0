// The handlers of the check box, start-up, buttons, switches and keyboard shortcuts, and the table
// of every handler; panel_setting_handlers.cpp holds those of the radio groups and sliders.
#include "panel/logic/panel_handlers.h"

#include <iostream>

#include "base/debug_trace.h"
#include "base/key_codes.h"
#include "base/ui_strings.h"
#include "device/flags.h"
#include "panel/logic/control_groups.h"
#include "panel/logic/control_state.h"
#include "panel/logic/panel_enablement.h"
#include "panel/panel_messages.h"
#include "skin/control_rules.h"

namespace quelt {
namespace {

constexpr std::uintptr_t kDigitOne = vk::kDigit1;  // key codes of "1".."6"
constexpr std::uintptr_t kF1 = vk::kF1;            // key codes of F1..F6
constexpr std::uintptr_t kKeyedBoxes = 6;

// Index of the box a keyboard shortcut addresses: key code minus the first code; other codes
// address box 0.
int keyedBox(std::uintptr_t keyCode, std::uintptr_t firstCode) {
    return keyCode >= firstCode && keyCode - firstCode < kKeyedBoxes
               ? static_cast<int>(keyCode - firstCode)
               : 0;
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
    const int found = link_.discoverBoxes();
    // The error box keeps its one text; why each port was passed over goes to standard error
    // and the trace.
    for (const SkippedPort& port : link_.skippedPorts()) {
        const std::string line = skippedPortLine(port);
        std::cerr << "quelt-panel: " << line << "\n";
        debugTrace(true, "Serial COM - %s", line.c_str());
    }
    if (found == 1) {
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

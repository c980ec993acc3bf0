#include "panel/logic/panel_device_view.h"

#include <tuple>

#include "panel/logic/control_state.h"
#include "panel/logic/panel_enablement.h"

namespace quelt {
namespace {

constexpr int kDeviceEntries =
    static_cast<int>(std::tuple_size_v<decltype(PanelControls::deviceBoxGroup)>);

bool validBoxSlot(int index) {
    return index >= 0 && index < kDeviceEntries;
}

}  // namespace

void PanelDeviceView::setPanelEnabled(bool enable) {
    onUi([this, enable] { quelt::setPanelEnabled(mapping_.controls(), enable); });
}

void PanelDeviceView::showBoxEntry(int index, bool selected, const std::string& infoText) {
    if (!validBoxSlot(index)) {
        return;
    }
    onUi([this, index, selected, &infoText] {
        PanelControls& c = mapping_.controls();
        SkinRadioButton& button = c.deviceBoxGroup[static_cast<std::size_t>(index)];
        if (selected) {
            turnOnUnlessDisabled(button);
        } else {
            turnOffUnlessDisabled(button);
        }
        button.visible = 1;
        SkinText& text = c.deviceInfoTexts[static_cast<std::size_t>(index)];
        text.visible = 1;
        text.text = infoText;
    });
}

void PanelDeviceView::hideBoxEntry(int index) {
    if (!validBoxSlot(index)) {
        return;
    }
    onUi([this, index] {
        PanelControls& c = mapping_.controls();
        c.deviceBoxGroup[static_cast<std::size_t>(index)].visible = 0;
        c.deviceInfoTexts[static_cast<std::size_t>(index)].visible = 0;
    });
}

void PanelDeviceView::setBoxInfoText(int index, const std::string& infoText) {
    if (!validBoxSlot(index)) {
        return;
    }
    onUi([this, index, &infoText] {
        mapping_.controls().deviceInfoTexts[static_cast<std::size_t>(index)].text = infoText;
    });
}

void PanelDeviceView::framesToPanel(const DeviceFrame& frame) {
    onUi([this, &frame] {
        mapping_.framesToPanel(frame);
        quelt::updateBezelEnable(mapping_.controls(), frame);
        quelt::updateResolutionEnable(mapping_.controls(), frame);
    });
}

void PanelDeviceView::panelToFrame(DeviceFrame& frame) {
    onUi([this, &frame] { mapping_.panelToFrame(frame); });
}

void PanelDeviceView::updateBezelEnable(const DeviceFrame& frame) {
    onUi([this, &frame] { quelt::updateBezelEnable(mapping_.controls(), frame); });
}

void PanelDeviceView::updateResolutionEnable(const DeviceFrame& frame) {
    onUi([this, &frame] { quelt::updateResolutionEnable(mapping_.controls(), frame); });
}

void PanelDeviceView::redrawPanel() {
    onUi([this] { mapping_.services().redrawPanel(); });
}

void PanelDeviceView::showError(int errorIndex) {
    onUi([this, errorIndex] { mapping_.services().showError(errorIndex); });
}

void PanelDeviceView::setBusy(bool busy) {
    mapping_.services().busyFlag() = busy ? 1 : 0;
}

void PanelDeviceView::releaseButton(int buttonIndex) {
    onUi([this, buttonIndex] {
        PanelControls& c = mapping_.controls();
        if (buttonIndex >= 0 && static_cast<std::size_t>(buttonIndex) < c.buttons.size()) {
            c.buttons[static_cast<std::size_t>(buttonIndex)].pending = 0;
        }
        if (onOperationFinished) {
            onOperationFinished(buttonIndex);
        }
    });
}

}  // namespace quelt

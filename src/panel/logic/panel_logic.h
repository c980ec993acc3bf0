#pragma once
// The panel's logic in one piece, for the panel window: settings mapping, the device link with
// the panel as its view, and the message handlers.
#include <cstdint>
#include <string>

#include "device/device_link.h"
#include "panel/logic/panel_device_view.h"
#include "panel/logic/panel_handlers.h"
#include "panel/logic/panel_mapping.h"
#include "platform/clock/clock.h"
#include "platform/serial/serial_port.h"

namespace quelt {

class PanelLogic {
  public:
    // `controls` and `services` belong to the panel window and outlive this object.
    PanelLogic(PanelControls& controls, PanelServices& services, Clock& clock,
               SerialPortFactory portFactory);

    // Start-up, once the controls exist: skin folder for the rebuilt bezel sliders, title,
    // resolution labels and bezel sliders for the working frame, disconnected state. No repaint.
    void prepare(const std::string& skinRoot);

    static bool knows(std::uint32_t message) { return PanelHandlers::knows(message); }
    std::intptr_t handle(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
        return handlers.handle(message, wParam, lParam);
    }

    // True while an Apply or reset started from the panel still runs. The worker needs the UI
    // thread to finish, so the window keeps serving runOnUiThread until this is false before it
    // destroys this object.
    bool operationInFlight() const { return handlers.operationInFlight(); }

    PanelMapping mapping;
    PanelDeviceView view;
    DeviceLink link;
    PanelHandlers handlers;
};

}  // namespace quelt

#pragma once
// What the panel window asks of the panel's logic: the start-up steps that fill the controls,
// the working frame it paints from, the handling of every panel message and the closing of the
// boxes when the window goes away.
#include <cstdint>
#include <memory>
#include <string>

#include "device/frame.h"
#include "panel/panel_controls.h"
#include "panel/panel_services.h"
#include "platform/clock/clock.h"
#include "platform/serial/serial_port.h"

namespace quelt {

class PanelLogicPort {
  public:
    virtual ~PanelLogicPort() = default;

    // Folder the skin file names are relative to; set before the start-up steps.
    virtual void setSkinRoot(const std::string& skinRoot) = 0;
    // Start-up, in this order.
    virtual void buildResolutionLists() = 0;
    virtual void refreshResolutionLabels() = 0;
    virtual void rebuildBezelSliders() = 0;
    virtual void setPanelEnabled(bool enabled) = 0;

    // The settings being edited (the layout, the frame rate and the bezels are painted from it).
    virtual DeviceFrame workingFrame() const = 0;
    // A panel message posted or sent to the panel; runs on the UI thread.
    virtual void handleMessage(std::uint32_t message, std::uintptr_t wParam) = 0;
    // Every box's channel closed, the box table emptied.
    virtual void closeAllBoxes() = 0;
    // An operation worker started by a handler still needs the UI thread to finish.
    virtual bool operationInFlight() const = 0;
};

// The panel's full logic: settings mapping, enablement, the device link on `clock` and the
// ports `portFactory` makes, and every message handler.
std::unique_ptr<PanelLogicPort> makePanelLogic(PanelControls& controls, PanelServices& services,
                                               Clock& clock, SerialPortFactory portFactory);

}  // namespace quelt

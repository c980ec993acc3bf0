#pragma once
// What the panel window asks of the panel's logic: the start-up steps that fill the controls,
// the working frame it paints from, the handling of every panel message and the closing of the
// boxes when the window goes away.
#include <cstdint>
#include <memory>

#include "device/frame.h"
#include "panel/panel_controls.h"
#include "panel/panel_services.h"

namespace quelt {

class PanelLogicPort {
  public:
    virtual ~PanelLogicPort() = default;

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
};

// Clears the pending flag of the control that posts `message` with index `wParam`, so that it
// can post again. Messages no control posts are ignored.
void releaseControl(PanelControls& controls, std::uint32_t message, std::uintptr_t wParam);

// Logic for a panel without a device link: start-up message 1035 repaints and centres the
// panel, Exit quits with 0, every other message just releases its control.
std::unique_ptr<PanelLogicPort> makeBasicPanelLogic(PanelControls& controls,
                                                    PanelServices& services);

}  // namespace quelt

#include <utility>

#include "panel/logic/panel_enablement.h"
#include "panel/logic/panel_logic.h"
#include "panel/window/panel_logic_port.h"

namespace quelt {

namespace {

class FullPanelLogic : public PanelLogicPort {
  public:
    FullPanelLogic(PanelControls& controls, PanelServices& services, Clock& clock,
                   SerialPortFactory portFactory)
        : controls_(controls), logic_(controls, services, clock, std::move(portFactory)) {}

    void setSkinRoot(const std::string& skinRoot) override { logic_.mapping.setSkinRoot(skinRoot); }
    // The mapping builds the eight lists when it is made.
    void buildResolutionLists() override {}
    void refreshResolutionLabels() override {
        logic_.mapping.refreshResolutionLabels(logic_.link.workingFrame());
    }
    void rebuildBezelSliders() override {
        const DeviceFrame working = logic_.link.workingFrame();
        logic_.mapping.rebuildBezelSlider(BezelAxis::Horizontal, working[frame_offset::hLimit]);
        logic_.mapping.rebuildBezelSlider(BezelAxis::Vertical, working[frame_offset::vLimit]);
    }
    void setPanelEnabled(bool enabled) override { quelt::setPanelEnabled(controls_, enabled); }
    DeviceFrame workingFrame() const override { return logic_.link.workingFrame(); }
    void handleMessage(std::uint32_t message, std::uintptr_t wParam) override {
        logic_.handle(message, wParam, 0);
    }
    void closeAllBoxes() override { logic_.link.closeAllBoxes(); }
    bool operationInFlight() const override { return logic_.operationInFlight(); }

  private:
    PanelControls& controls_;
    PanelLogic logic_;
};

}  // namespace

std::unique_ptr<PanelLogicPort> makePanelLogic(PanelControls& controls, PanelServices& services,
                                               Clock& clock, SerialPortFactory portFactory) {
    return std::make_unique<FullPanelLogic>(controls, services, clock, std::move(portFactory));
}

}  // namespace quelt

#include "panel/logic/panel_logic.h"

#include <utility>

#include "panel/logic/panel_enablement.h"

namespace quelt {

PanelLogic::PanelLogic(PanelControls& controls, PanelServices& services, Clock& clock,
                       SerialPortFactory portFactory)
    : mapping(controls, services),
      view(mapping),
      link(view, clock, std::move(portFactory)),
      handlers(mapping, view, link) {}

void PanelLogic::prepare(const std::string& skinRoot) {
    mapping.setSkinRoot(skinRoot);
    setTitleText(mapping.controls());
    const DeviceFrame working = link.workingFrame();
    mapping.refreshResolutionLabels(working);
    mapping.rebuildBezelSlider(BezelAxis::Horizontal, working[frame_offset::hLimit]);
    mapping.rebuildBezelSlider(BezelAxis::Vertical, working[frame_offset::vLimit]);
    setPanelEnabled(mapping.controls(), false);
}

}  // namespace quelt

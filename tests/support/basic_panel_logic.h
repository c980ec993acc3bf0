// Test double: panel logic without a device link, for window tests and benchmarks.
#pragma once

#include <cstdint>
#include <memory>

#include "panel/window/panel_logic_port.h"

namespace quelt {

// Clears the pending flag of the control that posts `message` with index `wParam`, so that it
// can post again. Messages no control posts are ignored.
void releaseControl(PanelControls& controls, std::uint32_t message, std::uintptr_t wParam);

// Logic for a panel without a device link: start-up message 1035 repaints and centres the
// panel, Exit quits with 0, every other message just releases its control.
std::unique_ptr<PanelLogicPort> makeBasicPanelLogic(PanelControls& controls,
                                                    PanelServices& services);

}  // namespace quelt

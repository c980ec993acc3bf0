#pragma once
// Which controls may be used: the bezel and DP2 slider rules that depend on the configuration
// being edited, and the panel-wide state changes built from the per-kind enable rules.
// None of these repaints; callers repaint.
#include "device/frame.h"
#include "panel/panel_controls.h"

namespace quelt {

// Every control of the panel except the title label, the Exit button and the Serial COM switch.
void setPanelEnabled(PanelControls& controls, bool enable);
// Bezel sliders: usable only at 60 Hz with clock sync OFF, a nonzero H limit and a stretch mode
// (V bezel only for Stretch 2 x 2).
void updateBezelEnable(PanelControls& controls, const DeviceFrame& frame);
// DP2 slider of the frame's rate: free for Clone and Stretch 1 x 2; otherwise disabled, with
// its labels greyed, and following the DP1 slider of the same rate.
void updateResolutionEnable(PanelControls& controls, const DeviceFrame& frame);

// Connected -> pattern showing: only the switch `switchIndex` stays usable (on); Exit disabled.
void enterPatternShowing(PanelControls& controls, int switchIndex);
// Pattern showing -> connected.
void leavePatternShowing(PanelControls& controls, const DeviceFrame& workingFrame);

}  // namespace quelt

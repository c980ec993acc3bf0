#pragma once
// Pointer input of the main panel: the caption drag zone, the hit-test order of the control
// groups, what a press, release or move does to each kind of control, and which message it
// posts. Only the pair of resolution sliders of the active frame rate (the pair that is
// painted) takes input.
#include <cstdint>

#include "panel/panel_controls.h"
#include "platform/window/window_host.h"

namespace quelt {

// What the routing needs from the panel window.
class PointerActions {
  public:
    virtual ~PointerActions() = default;
    virtual bool isBusy() const = 0;
    virtual bool is120Hz() const = 0;
    virtual void captionDrag(int x, int y) = 0;
    virtual void setCapture(bool captured) = 0;
    virtual void showCursor(CursorShape shape) = 0;
    // Queues a control's message to the panel itself.
    virtual void postMessage(std::uint32_t message, std::uintptr_t wParam) = 0;
    virtual void redraw() = 0;
};

void pointerPress(PanelControls& controls, PointerActions& panel, int x, int y);
void pointerRelease(PanelControls& controls, PointerActions& panel, int x, int y);
void pointerMove(PanelControls& controls, PointerActions& panel, int x, int y);

}  // namespace quelt

#pragma once
// The layout table of the main panel: every control record with its rectangle, skin files,
// text, font, initial state, visibility and message.
#include <string>

#include "base/ui_strings.h"
#include "panel/panel_controls.h"

namespace quelt {

// Skin files of the main panel (relative to the skin root).
namespace panel_skin {
inline constexpr const char* kBackground = "GUIFrameMain\\GUIFrameMainBK.kesp";
inline constexpr const char* kResolutionThumb =
    "GUIFrameMain\\GUIFrameMainCtrlSlider_ResolutionBtn.kesp";
inline constexpr const char* kResolutionBar =
    "GUIFrameMain\\GUIFrameMainCtrlSlider_ResolutionBar.kesp";
}  // namespace panel_skin

// Caption drag zone: a press at x <= 1069 and y <= 32 moves the window.
inline constexpr int kCaptionZoneRight = 1069;
inline constexpr int kCaptionZoneBottom = 32;
inline bool inCaptionZone(int x, int y) {
    return x <= kCaptionZoneRight && y <= kCaptionZoneBottom;
}

// Builds every control from the table and loads its images from `skinPath` + relative name.
// Every control is built and every image attempted; true only when every image loaded.
bool createPanelControls(PanelControls& controls, const std::string& skinPath,
                         const UiStringTable& strings);

// The smallest face that holds every control as built, from (0, 0): its right and bottom are
// the largest right and bottom of any control rectangle, hidden ones included.
SkinRect layoutExtent(const PanelControls& controls);

}  // namespace quelt

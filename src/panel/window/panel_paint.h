#pragma once
// Composition of the main panel's face: background, every control in a fixed order, the bezel
// preview and, while busy, the shadow over everything.
#include <cstdint>
#include <vector>

#include "device/frame.h"
#include "panel/panel_controls.h"
#include "panel/window/base_dialog.h"
#include "skin/skin_rect.h"

namespace quelt {

// Preview colours (0x00BBGGRR): blue while Apply is usable, grey while it is disabled.
inline constexpr std::uint32_t kPreviewLight = 0xFFAA00;
inline constexpr std::uint32_t kPreviewDark = 0xC34E00;
inline constexpr std::uint32_t kPreviewLightDisabled = 0x323232;
inline constexpr std::uint32_t kPreviewDarkDisabled = 0x1E1E1E;

// Pixels a bezel value pulls a monitor edge in by: with n = stopCount - 1,
// trunc(stop / (n / (monitor / (source / n)))), each division in single precision in this
// order; 0 when n is 0.
int bezelShift(int stopCount, int stop, float monitor, float source);

struct PreviewRect {
    SkinRect rect;
    std::uint32_t leftColour = 0;   // 0x00BBGGRR at the left edge
    std::uint32_t rightColour = 0;  // at the right edge
};

// Monitor rectangles of the preview for the working frame's layout and the bezel sliders.
std::vector<PreviewRect> bezelPreviewRects(const PanelControls& controls,
                                           const DeviceFrame& working);

// Static image pair (mode picture, bezel picture) painted for the frame's layout.
struct ModePictures {
    int mode;
    int bezel;
};
ModePictures modePicturesFor(const DeviceFrame& working);

// Paints the whole face onto the dialog's canvas (does not present it).
void composePanel(CGUIGDIPlusMfcBaseDlg& dialog, PanelControls& controls,
                  const DeviceFrame& working, bool busy);

}  // namespace quelt

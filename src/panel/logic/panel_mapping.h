#pragma once
// The mapping between a box's settings (a DeviceFrame) and the panel's controls: radio groups,
// resolution sliders with their labels, and the two bezel sliders that are rebuilt whenever their
// limit changes. Everything here runs on the UI thread.
#include <cstdint>
#include <string>

#include "base/version.h"
#include "device/frame.h"
#include "panel/panel_controls.h"
#include "panel/panel_services.h"
#include "panel/resolution_lists.h"

namespace quelt {

enum class BezelAxis { Horizontal = 0, Vertical = 1 };

// "Quelt Control Center - v1.05a"
std::string panelTitleText();
// Stores the title text in the title label.
void setTitleText(PanelControls& controls);

// Placement of the resolution labels beside the sliders.
namespace resolution_label {
inline constexpr std::int32_t kDp1Left = 219;
inline constexpr std::int32_t kDp1Right = 333;
inline constexpr std::int32_t kDp2Left = 385;
inline constexpr std::int32_t kDp2Right = 500;
inline constexpr std::int32_t kHeight = 19;
}  // namespace resolution_label

// The layout of a bezel slider with `limit` + 1 stops, images under `skinRoot`.
SkinSlider bezelSliderDescriptor(BezelAxis axis, int limit, const std::string& skinRoot);

class PanelMapping {
  public:
    PanelMapping(PanelControls& controls, PanelServices& services);

    // Folder the skin file names are relative to (ends with a separator); set at start-up.
    void setSkinRoot(std::string root) { skinRoot_ = std::move(root); }
    const std::string& skinRoot() const { return skinRoot_; }

    PanelControls& controls() { return controls_; }
    const PanelControls& controls() const { return controls_; }
    PanelServices& services() { return services_; }
    const ResolutionLists& resolutionLists() const { return lists_; }

    // Rewrites the resolution labels of the frame's rate from the list the frame selects; the
    // labels sit at the stops of the DP1 slider of that rate.
    void refreshResolutionLabels(const DeviceFrame& frame);
    // Controls to frame: the first member that is on wins; a group with nothing on leaves its
    // field alone. Bezel amounts are kept current by their handlers and not touched here.
    void panelToFrame(DeviceFrame& frame) const;
    // Frame to controls (never touching a disabled member), labels refreshed, bezel sliders
    // rebuilt for the frame's limits, sliders moved to the frame's choices. No repaint, and no
    // enablement change apart from the rebuilt bezel sliders.
    void framesToPanel(const DeviceFrame& frame);
    // Recreates a bezel slider with `limit` + 1 stops (thumb on stop 0, state 0) and posts its
    // message so the frame's bezel byte and the bezel text follow.
    void rebuildBezelSlider(BezelAxis axis, int limit);

  private:
    PanelControls& controls_;
    PanelServices& services_;
    ResolutionLists lists_;
    std::string skinRoot_;
};

}  // namespace quelt

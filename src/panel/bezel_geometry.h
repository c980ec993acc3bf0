#pragma once
// Where the two bezel sliders sit and how they move, indexed by ctl::kHBezel and ctl::kVBezel.
// The panel's first layout and the sliders rebuilt whenever a limit changes share it.
#include <cstdint>

#include "panel/panel_messages.h"
#include "skin/skin_rect.h"

namespace quelt {

struct BezelGeometry {
    const char* thumbFile;  // skin files of a rebuilt slider
    const char* barFile;
    SkinRect thumbRect;
    SkinRect barRect;
    std::int32_t minPos;
    std::int32_t maxPos;
    std::int32_t snap;
    std::uint32_t message;
    std::int32_t orientation;  // 0 horizontal, 1 vertical
};

inline constexpr BezelGeometry kBezelGeometry[] = {
    {"GUIFrameMain\\GUIFrameMainCtrlSlider_BezelHBtn.kesp",
     "GUIFrameMain\\GUIFrameMainCtrlSlider_BezelHBar.kesp", SkinRect{494, 624, 531, 665},
     SkinRect{493, 615, 1029, 631}, 493, 1029, 20, msg::HBezelSlider, 0},
    {"GUIFrameMain\\GUIFrameMainCtrlSlider_BezelVBtn.kesp",
     "GUIFrameMain\\GUIFrameMainCtrlSlider_BezelVBar.kesp", SkinRect{1044, 348, 1080, 367},
     SkinRect{1074, 331, 1089, 645}, 331, 645, 10, msg::VBezelSlider, 1},
};

}  // namespace quelt

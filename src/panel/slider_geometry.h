#pragma once
// Where a slider sits and how it moves, and the two bezel sliders' geometry, indexed by
// ctl::kHBezel and ctl::kVBezel (the panel's first layout and the sliders rebuilt whenever a
// limit changes share it).
#include <cstdint>
#include <string>

#include "panel/panel_messages.h"
#include "skin/skin_rect.h"
#include "skin/skin_slider.h"

namespace quelt {

struct SliderGeometry {
    const char* thumbFile;  // skin files, relative to the skin folder
    const char* barFile;
    SkinRect thumbRect;
    SkinRect barRect;
    std::int32_t minPos;
    std::int32_t maxPos;
    std::int32_t snap;
    std::uint32_t message;
    std::int32_t orientation;  // 0 horizontal, 1 vertical
};

inline constexpr SliderGeometry kBezelGeometry[] = {
    {"GUIFrameMain\\GUIFrameMainCtrlSlider_BezelHBtn.kesp",
     "GUIFrameMain\\GUIFrameMainCtrlSlider_BezelHBar.kesp", SkinRect{494, 624, 531, 665},
     SkinRect{493, 615, 1029, 631}, 493, 1029, 20, msg::HBezelSlider, 0},
    {"GUIFrameMain\\GUIFrameMainCtrlSlider_BezelVBtn.kesp",
     "GUIFrameMain\\GUIFrameMainCtrlSlider_BezelVBar.kesp", SkinRect{1044, 348, 1080, 367},
     SkinRect{1074, 331, 1089, 645}, 331, 645, 10, msg::VBezelSlider, 1},
};

// The same geometry drawn with other skin files.
constexpr SliderGeometry withFiles(SliderGeometry geometry, const char* thumbFile,
                                   const char* barFile) {
    geometry.thumbFile = thumbFile;
    geometry.barFile = barFile;
    return geometry;
}

// A visible slider's descriptor: `geometry` with `stops` stops, its files under `skinRoot`.
inline SkinSlider sliderDescriptor(const SliderGeometry& geometry, std::int32_t stops,
                                   const std::string& skinRoot) {
    SkinSlider d;
    d.thumbPath = skinRoot + geometry.thumbFile;
    d.barPath = skinRoot + geometry.barFile;
    d.thumbRect = geometry.thumbRect;
    d.barRect = geometry.barRect;
    d.minPos = geometry.minPos;
    d.maxPos = geometry.maxPos;
    d.stopCount = stops;
    d.snapDistance = geometry.snap;
    d.orientation = geometry.orientation;
    d.visible = 1;
    d.message = static_cast<std::int32_t>(geometry.message);
    return d;
}

}  // namespace quelt

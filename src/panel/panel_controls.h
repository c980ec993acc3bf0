#pragma once
// Every skinned control of the main panel, in fixed arrays, in the order the panel holds them.
// The index of a control in its array is the wParam of the message it posts.
#include <array>
#include <cstdint>
#include <vector>

#include "skin/skin_controls.h"
#include "skin/skin_slider.h"
#include "skin/skin_static.h"

namespace quelt {

namespace ctl {
// Panel labels
inline constexpr int kTitleLabel = 0;
// Static images
inline constexpr int kBusyShadow = 0;
inline constexpr int kHotKeyLegend = 1;
inline constexpr int kModePictureFirst = 2;   // 2..5: Stretch 1x2, 1x4, 2x2, Clone (hidden)
inline constexpr int kBezelPictureFirst = 6;  // 6..9: Bezel 1x2, 1x4, 2x2, Clone
// Switches
inline constexpr int kSerialComSwitch = 0;
inline constexpr int kPatternSwitch = 1;
inline constexpr int kRgbwSwitch = 2;
// Buttons
inline constexpr int kExitButton = 0;
inline constexpr int kHwResetButton = 1;
inline constexpr int kSwResetButton = 2;
inline constexpr int kAdvanceButton = 3;
inline constexpr int kApplyButton = 4;
// Resolution sliders
inline constexpr int kDp1Slider60 = 0;
inline constexpr int kDp2Slider60 = 1;
inline constexpr int kDp1Slider120 = 2;
inline constexpr int kDp2Slider120 = 3;
// Bezel sliders and texts
inline constexpr int kHBezel = 0;
inline constexpr int kVBezel = 1;
// Resolution labels: 0-13 serve 60 Hz, 14-18 serve 120 Hz
inline constexpr int kLabels60 = 14;
inline constexpr int kLabels120 = 5;
inline constexpr int kFirst120Label = 14;
}  // namespace ctl

struct PanelControls {
    std::array<SkinText, 36> panelLabels;
    std::array<SkinText, 19> dp1Labels;
    std::array<SkinText, 19> dp2Labels;
    std::array<SkinText, 2> bezelTexts;
    std::array<SkinText, 6> deviceInfoTexts;
    std::array<SkinStaticImage, 10> staticImages;
    std::array<SkinCheckBox, 1> syncCheckBox;
    std::array<SkinSwitch, 3> switches;
    std::array<SkinButton, 5> buttons;
    std::array<SkinRadioButton, 6> deviceBoxGroup;
    std::array<SkinRadioButton, 4> modeGroup;
    std::array<SkinRadioButton, 3> clockSyncGroup;
    std::array<SkinRadioButton, 2> frameRateGroup;
    std::array<SkinRadioButton, 6> hLimitGroup;
    std::array<SkinRadioButton, 4> vLimitGroup;
    std::array<SkinRadioButton, 6> deviceIdGroup;
    std::array<SkinSlider, 4> resolutionSliders;
    std::array<SkinSlider, 2> bezelSliders;

    // Stop coordinates of the DP1 slider at 60 Hz and at 120 Hz (places the resolution labels).
    std::vector<std::int32_t> stops60;
    std::vector<std::int32_t> stops120;
};

}  // namespace quelt

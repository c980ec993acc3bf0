#include "panel_fixture.h"

namespace quelt::testing {
namespace {

SkinSlider resolutionSlider(std::int32_t thumbLeft, std::int32_t barLeft, std::int32_t stops,
                            std::uint32_t message) {
    SkinSlider d;
    d.thumbRect = SkinRect{thumbLeft, 348, thumbLeft + 36, 367};
    d.barRect = SkinRect{barLeft, 331, barLeft + 15, 645};
    d.minPos = 331;
    d.maxPos = 645;
    d.stopCount = stops;
    d.snapDistance = 10;
    d.visible = 1;
    d.orientation = 1;
    d.message = static_cast<std::int32_t>(message);
    return d;
}

template <std::size_t N>
void buildRadioGroup(std::array<SkinRadioButton, N>& group, std::uint32_t message, bool firstOn,
                     int visible) {
    for (std::size_t i = 0; i < N; ++i) {
        group[i].visible = visible;
        group[i].message = static_cast<std::int32_t>(message);
        group[i].state = firstOn && i == 0 ? 1 : 0;
    }
}

}  // namespace

void buildPanelControls(PanelControls& c) {
    for (auto* texts : {&c.dp1Labels, &c.dp2Labels}) {
        for (SkinText& t : *texts) {
            t.visible = 1;
        }
    }
    for (SkinText& t : c.panelLabels) {
        t.visible = 1;
        t.text = "label";
    }
    for (SkinText& t : c.bezelTexts) {
        t.visible = 1;
        t.text = "0";
    }
    for (SkinText& t : c.deviceInfoTexts) {
        t.visible = 0;
        t.text = "FW:30\nCOM:10\nID:20";
    }
    for (SkinStaticImage& image : c.staticImages) {
        image.visible = 1;
    }
    c.syncCheckBox[0].visible = 1;
    for (SkinButton& b : c.buttons) {
        b.visible = 1;
    }
    c.buttons[ctl::kAdvanceButton].visible = 0;
    buildRadioGroup(c.deviceBoxGroup, msg::DeviceBoxGroup, false, 0);
    buildRadioGroup(c.modeGroup, msg::ModeGroup, true, 1);
    buildRadioGroup(c.clockSyncGroup, msg::ClockSyncGroup, true, 1);
    buildRadioGroup(c.frameRateGroup, msg::FrameRateGroup, true, 1);
    buildRadioGroup(c.hLimitGroup, msg::HLimitGroup, true, 1);
    buildRadioGroup(c.vLimitGroup, msg::VLimitGroup, true, 1);
    buildRadioGroup(c.deviceIdGroup, msg::DeviceIdGroup, true, 1);
    const SkinSlider sliders[] = {
        resolutionSlider(173, 203, 14, msg::Dp1Slider),
        resolutionSlider(336, 366, 14, msg::Dp2Slider),
        resolutionSlider(173, 203, 5, msg::Dp1Slider),
        resolutionSlider(336, 366, 5, msg::Dp2Slider),
    };
    for (std::size_t i = 0; i < c.resolutionSliders.size(); ++i) {
        c.resolutionSliders[i].Assign(sliders[i]);
        c.resolutionSliders[i].Load();  // no images: 0, but the stops are built
    }
}

}  // namespace quelt::testing

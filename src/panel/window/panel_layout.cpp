#include "panel/window/panel_layout.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "panel/panel_messages.h"
#include "panel/slider_geometry.h"

namespace quelt {

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint8_t kTextAlpha = 220;

SkinText Text(const std::string& text, SkinRect rect, std::uint32_t size, bool italic, int align,
              bool visible = true) {
    SkinText d;
    d.text = text;
    d.rect = rect;
    d.fontName = "Arial";
    d.fontSize = size;
    d.italic = italic ? 1 : 0;
    d.align = align;
    d.colour = kWhite;
    d.alpha = kTextAlpha;
    d.visible = visible ? 1 : 0;
    return d;
}

// One row of the panel labels: label index, rectangle, italic, align (0 near, 1 centre).
struct LabelRow {
    int label;
    SkinRect rect;
    bool italic;
    int align;
};

// A settings heading (italic, near) over its column of option labels, one row every 24 pixels.
struct SettingColumn {
    int heading;
    SkinRect headingRect;
    int firstOption;
    int options;
    SkinRect firstOptionRect;
};

constexpr SettingColumn kSettingColumns[] = {
    {5, {173, 111, 222, 130}, 6, 4, {195, 140, 287, 160}},
    {10, {296, 111, 380, 130}, 11, 3, {320, 141, 369, 160}},
    {14, {391, 111, 478, 131}, 15, 2, {417, 141, 466, 160}},
    {17, {482, 111, 569, 131}, 18, 6, {511, 141, 560, 160}},
    {24, {576, 111, 663, 131}, 25, 4, {604, 141, 653, 160}},
    {29, {672, 111, 759, 131}, 30, 6, {703, 141, 770, 160}},
};

std::vector<LabelRow> PanelLabelRows() {
    std::vector<LabelRow> rows;
    rows.push_back({0, {10, 7, 550, 27}, true, 0});
    rows.push_back({1, {10, 111, 147, 131}, true, 1});
    rows.push_back({3, {188, 285, 237, 304}, true, 1});
    rows.push_back({4, {349, 285, 398, 304}, true, 1});
    for (const SettingColumn& column : kSettingColumns) {
        rows.push_back({column.heading, column.headingRect, true, 0});
        const SkinRect& first = column.firstOptionRect;
        for (int k = 0; k < column.options; ++k) {
            rows.push_back({column.firstOption + k,
                            {first.left, first.top + 24 * k, first.right, first.bottom + 24 * k},
                            false,
                            0});
        }
    }
    rows.push_back({36, {825, 111, 1089, 131}, false, 0});
    return rows;
}

template <typename Control>
void AndLoad(bool& ok, Control& control) {
    ok = (control.Load() != 0) && ok;
}

struct StaticRow {
    const char* file;
    SkinRect rect;
    bool visible;
};

constexpr StaticRow kStaticImages[] = {
    {"GUIFrameMain\\GUIFrameMainBKShadow.kesp", {0, 0, 1127, 679}, true},
    {"GUIFrameMain\\GUIFrameMainStcImage_HotKeyInfo.kesp", {805, 137, 1101, 301}, true},
    {"GUIFrameMain\\GUIFrameMainStcImage_Stretch_1x2.kesp", {305, 141, 691, 255}, false},
    {"GUIFrameMain\\GUIFrameMainStcImage_Stretch_1x4.kesp", {305, 141, 691, 255}, false},
    {"GUIFrameMain\\GUIFrameMainStcImage_Stretch_2x2.kesp", {305, 141, 691, 255}, false},
    {"GUIFrameMain\\GUIFrameMainStcImage_Clone.kesp", {305, 141, 691, 255}, false},
    {"GUIFrameMain\\GUIFrameMainStcImage_Bezel_1x2.kesp", {585, 403, 949, 541}, true},
    {"GUIFrameMain\\GUIFrameMainStcImage_Bezel_1x4.kesp", {511, 438, 1016, 537}, true},
    {"GUIFrameMain\\GUIFrameMainStcImage_Bezel_2x2.kesp", {608, 360, 925, 578}, true},
    {"GUIFrameMain\\GUIFrameMainStcImage_Bezel_Clone.kesp", {608, 360, 925, 578}, true},
};

struct SwitchRow {
    const char* file;
    SkinRect rect;
    std::uint32_t message;
};

constexpr SwitchRow kSwitches[] = {
    {"GUIFrameMain\\GUIFrameMainCtrlSwitch_SerialCOM.kesp",
     {24, 53, 148, 89},
     msg::SerialComSwitch},
    {"GUIFrameMain\\GUIFrameMainCtrlSwitch_Pattern.kesp", {183, 53, 307, 89}, msg::PatternSwitch},
    {"GUIFrameMain\\GUIFrameMainCtrlSwitch_RGBW.kesp", {342, 53, 466, 89}, msg::RgbwSwitch},
};

struct ButtonRow {
    const char* file;
    SkinRect rect;
    bool visible;
    std::uint32_t message;
};

constexpr ButtonRow kButtons[] = {
    {"GUIFrameMain\\GUIFrameMainCtrlBtn_Exit.kesp", {1069, 3, 1117, 27}, true, msg::ExitButton},
    {"GUIFrameMain\\GUIFrameMainCtrlBtn_HWReset.kesp",
     {501, 55, 625, 87},
     true,
     msg::HwResetButton},
    {"GUIFrameMain\\GUIFrameMainCtrlBtn_SWReset.kesp",
     {660, 55, 784, 87},
     true,
     msg::SwResetButton},
    {"GUIFrameMain\\GUIFrameMainCtrlBtn_AdvanceSetting.kesp",
     {819, 55, 943, 87},
     false,
     msg::AdvanceButton},
    {"GUIFrameMain\\GUIFrameMainCtrlBtn_Apply.kesp", {978, 55, 1102, 87}, true, msg::ApplyButton},
};

constexpr const char* kRadioStd = "GUIFrameMain\\GUIFrameMainCtrlRdoBtn_STD.kesp";
constexpr const char* kRadioDeviceBox = "GUIFrameMain\\GUIFrameMainCtrlRdoBtn_DeviceBox.kesp";

// Item k of a radio group: (left, top + step * k, right, bottom + step * k).
bool BuildRadioGroup(std::span<SkinRadioButton> group, const std::string& file, SkinRect first,
                     int step, bool visible, bool firstOn, std::uint32_t message) {
    bool ok = true;
    for (std::size_t k = 0; k < group.size(); ++k) {
        const int offset = step * static_cast<int>(k);
        SkinRadioButton d;
        d.imagePath = file;
        d.rect = {first.left, first.top + offset, first.right, first.bottom + offset};
        d.visible = visible ? 1 : 0;
        d.message = static_cast<std::int32_t>(message);
        d.state = (firstOn && k == 0) ? 1 : 0;
        group[k].Assign(d);
        AndLoad(ok, group[k]);
    }
    return ok;
}

struct SliderRow {
    SliderGeometry geometry;
    std::int32_t stops;
};

constexpr SliderGeometry kDp1Slider = {panel_skin::kResolutionThumb,
                                       panel_skin::kResolutionBar,
                                       SkinRect{173, 348, 209, 367},
                                       SkinRect{203, 331, 218, 645},
                                       331,
                                       645,
                                       10,
                                       msg::Dp1Slider,
                                       1};

// The DP2 slider is the DP1 slider moved right.
constexpr SliderGeometry dp2Slider() {
    constexpr std::int32_t kShift = 163;
    SliderGeometry g = kDp1Slider;
    g.thumbRect.left += kShift;
    g.thumbRect.right += kShift;
    g.barRect.left += kShift;
    g.barRect.right += kShift;
    g.message = msg::Dp2Slider;
    return g;
}
constexpr SliderGeometry kDp2Slider = dp2Slider();

// DP1 and DP2 at 60 Hz, then at 120 Hz.
constexpr SliderRow kResolutionSliders[] = {
    {kDp1Slider, 14}, {kDp2Slider, 14}, {kDp1Slider, 5}, {kDp2Slider, 5}};

// First layout of the bezel sliders; start-up rebuilds them with stops from the limits (and the
// V slider with its own images).
constexpr SliderRow kBezelSliders[] = {
    {kBezelGeometry[ctl::kHBezel], 251},
    {withFiles(kBezelGeometry[ctl::kVBezel], panel_skin::kResolutionThumb,
               panel_skin::kResolutionBar),
     61},
};

void BuildSlider(bool& ok, SkinSlider& slider, const SliderRow& row, const std::string& skinPath) {
    slider.Assign(sliderDescriptor(row.geometry, row.stops, skinPath));
    AndLoad(ok, slider);
}

constexpr SkinRect kDeviceInfoRects[] = {{96, 153, 146, 212}, {96, 241, 146, 300},
                                         {96, 330, 146, 389}, {96, 418, 146, 477},
                                         {96, 505, 146, 564}, {96, 594, 146, 653}};

}  // namespace

bool createPanelControls(PanelControls& c, const std::string& skinPath,
                         const UiStringTable& strings) {
    bool ok = true;

    const std::vector<LabelRow> rows = PanelLabelRows();
    for (std::size_t i = 0; i < rows.size() && i < c.panelLabels.size(); ++i) {
        c.panelLabels[i].Assign(
            Text(strings.label(rows[i].label), rows[i].rect, 12, rows[i].italic, rows[i].align));
    }
    for (SkinText& label : c.dp1Labels) {
        label.Assign(Text("", {}, 12, false, 0));
    }
    for (SkinText& label : c.dp2Labels) {
        label.Assign(Text("", {}, 12, false, 0));
    }
    c.bezelTexts[0].Assign(Text("0", {494, 590, 620, 612}, 14, false, 0));
    c.bezelTexts[1].Assign(Text("0", {1024, 302, 1112, 324}, 14, false, 1));
    for (std::size_t i = 0; i < c.deviceInfoTexts.size(); ++i) {
        c.deviceInfoTexts[i].Assign(
            Text(strings.label(ui_label::kDeviceInfo), kDeviceInfoRects[i], 11, false, 0, false));
    }

    for (std::size_t i = 0; i < c.staticImages.size(); ++i) {
        SkinStaticImage d;
        d.imagePath = skinPath + kStaticImages[i].file;
        d.rect = kStaticImages[i].rect;
        d.visible = kStaticImages[i].visible ? 1 : 0;
        c.staticImages[i].Assign(d);
        AndLoad(ok, c.staticImages[i]);
    }

    {
        SkinCheckBox d;
        d.imagePath = skinPath + "GUIFrameMain\\GUIFrameMainCtrlChkBox_STD.kesp";
        d.rect = {805, 112, 823, 131};
        d.visible = 1;
        d.message = static_cast<std::int32_t>(msg::SyncCheckBox);
        c.syncCheckBox[0].Assign(d);
        AndLoad(ok, c.syncCheckBox[0]);
    }
    for (std::size_t i = 0; i < c.switches.size(); ++i) {
        SkinSwitch d;
        d.imagePath = skinPath + kSwitches[i].file;
        d.rect = kSwitches[i].rect;
        d.message = static_cast<std::int32_t>(kSwitches[i].message);
        c.switches[i].Assign(d);
        AndLoad(ok, c.switches[i]);
    }
    for (std::size_t i = 0; i < c.buttons.size(); ++i) {
        SkinButton d;
        d.resourceId = 0;
        d.imagePath = skinPath + kButtons[i].file;
        d.rect = kButtons[i].rect;
        d.visible = kButtons[i].visible ? 1 : 0;
        d.message = static_cast<std::int32_t>(kButtons[i].message);
        c.buttons[i].Assign(d);
        AndLoad(ok, c.buttons[i]);
    }

    const std::string radio = skinPath + kRadioStd;
    ok = BuildRadioGroup(c.deviceBoxGroup, skinPath + kRadioDeviceBox, {17, 149, 95, 217}, 88,
                         false, false, msg::DeviceBoxGroup) &&
         ok;
    // The settings: columns of radio buttons 24 pixels apart, the first one on.
    const auto settingsColumn = [&](std::span<SkinRadioButton> group, std::int32_t left,
                                    std::uint32_t message) {
        ok = BuildRadioGroup(group, radio, {left, 141, left + 18, 160}, 24, true, true, message) &&
             ok;
    };
    settingsColumn(c.modeGroup, 171, msg::ModeGroup);
    settingsColumn(c.clockSyncGroup, 294, msg::ClockSyncGroup);
    settingsColumn(c.frameRateGroup, 389, msg::FrameRateGroup);
    settingsColumn(c.hLimitGroup, 485, msg::HLimitGroup);
    settingsColumn(c.vLimitGroup, 579, msg::VLimitGroup);
    settingsColumn(c.deviceIdGroup, 677, msg::DeviceIdGroup);

    for (std::size_t i = 0; i < c.resolutionSliders.size(); ++i) {
        BuildSlider(ok, c.resolutionSliders[i], kResolutionSliders[i], skinPath);
    }
    for (std::size_t i = 0; i < c.bezelSliders.size(); ++i) {
        BuildSlider(ok, c.bezelSliders[i], kBezelSliders[i], skinPath);
    }
    return ok;
}

namespace {

void Grow(SkinRect& extent, const SkinRect& rect) {
    extent.right = std::max({extent.right, rect.left, rect.right});
    extent.bottom = std::max({extent.bottom, rect.top, rect.bottom});
}

template <typename Array>
void GrowByRects(SkinRect& extent, const Array& controls) {
    for (const auto& control : controls) {
        Grow(extent, control.rect);
    }
}

}  // namespace

SkinRect layoutExtent(const PanelControls& c) {
    SkinRect extent;
    GrowByRects(extent, c.panelLabels);
    GrowByRects(extent, c.dp1Labels);
    GrowByRects(extent, c.dp2Labels);
    GrowByRects(extent, c.bezelTexts);
    GrowByRects(extent, c.deviceInfoTexts);
    GrowByRects(extent, c.staticImages);
    GrowByRects(extent, c.syncCheckBox);
    GrowByRects(extent, c.switches);
    GrowByRects(extent, c.buttons);
    GrowByRects(extent, c.deviceBoxGroup);
    GrowByRects(extent, c.modeGroup);
    GrowByRects(extent, c.clockSyncGroup);
    GrowByRects(extent, c.frameRateGroup);
    GrowByRects(extent, c.hLimitGroup);
    GrowByRects(extent, c.vLimitGroup);
    GrowByRects(extent, c.deviceIdGroup);
    for (const SkinSlider& slider : c.resolutionSliders) {
        Grow(extent, slider.thumbRect);
        Grow(extent, slider.barRect);
    }
    for (const SkinSlider& slider : c.bezelSliders) {
        Grow(extent, slider.thumbRect);
        Grow(extent, slider.barRect);
    }
    return extent;
}

}  // namespace quelt

#include "panel/window/panel_pointer.h"

#include <array>
#include <span>

#include "panel/window/panel_layout.h"
#include "skin/control_rules.h"

namespace quelt {

namespace {

// Posts the control's message with its index, unless one is still waiting to be handled.
template <typename Control>
void Raise(PointerActions& panel, Control& control, int index) {
    if (ClaimPost(control.pending)) {
        panel.postMessage(static_cast<std::uint32_t>(control.message),
                          static_cast<std::uintptr_t>(index));
    }
}

std::array<std::span<SkinRadioButton>, 7> RadioGroups(PanelControls& c) {
    return {c.deviceBoxGroup, c.modeGroup,   c.clockSyncGroup, c.frameRateGroup,
            c.hLimitGroup,    c.vLimitGroup, c.deviceIdGroup};
}

// The painted pair of resolution sliders and the index of its first member.
struct LiveSliders {
    std::span<SkinSlider> sliders;
    int first;
};

LiveSliders ActiveResolutionSliders(PanelControls& c, const PointerActions& panel) {
    const int first = panel.is120Hz() ? ctl::kDp1Slider120 : ctl::kDp1Slider60;
    return {std::span<SkinSlider>(c.resolutionSliders).subspan(static_cast<std::size_t>(first), 2),
            first};
}

}  // namespace

void pointerPress(PanelControls& c, PointerActions& panel, int x, int y) {
    if (inCaptionZone(x, y)) {
        panel.captionDrag(x, y);
        return;
    }
    if (panel.isBusy()) {
        return;
    }
    panel.setCapture(true);

    if (const int i = PressToggles(c.syncCheckBox, x, y); i >= 0) {
        Raise(panel, c.syncCheckBox[static_cast<std::size_t>(i)], i);
    }
    if (const int i = PressToggles(c.switches, x, y); i >= 0) {
        Raise(panel, c.switches[static_cast<std::size_t>(i)], i);
    }
    PressButtons(c.buttons, x, y);
    for (std::span<SkinRadioButton> group : RadioGroups(c)) {
        if (const int i = PressRadio(group, x, y); i >= 0) {
            Raise(panel, group[static_cast<std::size_t>(i)], i);
        }
    }
    const LiveSliders live = ActiveResolutionSliders(c, panel);
    if (const int i = PressSliders(live.sliders, x, y); i >= 0) {
        Raise(panel, live.sliders[static_cast<std::size_t>(i)], live.first + i);
    }
    if (const int i = PressSliders(c.bezelSliders, x, y); i >= 0) {
        Raise(panel, c.bezelSliders[static_cast<std::size_t>(i)], i);
    }
    panel.redraw();
}

void pointerRelease(PanelControls& c, PointerActions& panel, int x, int y) {
    if (panel.isBusy()) {
        return;
    }
    panel.setCapture(false);
    if (const int i = ReleaseButtons(c.buttons, x, y); i >= 0) {
        Raise(panel, c.buttons[static_cast<std::size_t>(i)], i);
    }
    // Every resolution slider is released, so none is left dragging when the rate changed.
    if (const int i = ReleaseSliders(c.resolutionSliders); i >= 0) {
        Raise(panel, c.resolutionSliders[static_cast<std::size_t>(i)], i);
    }
    if (const int i = ReleaseSliders(c.bezelSliders); i >= 0) {
        Raise(panel, c.bezelSliders[static_cast<std::size_t>(i)], i);
    }
    panel.redraw();
}

void pointerMove(PanelControls& c, PointerActions& panel, int x, int y) {
    if (panel.isBusy()) {
        panel.showCursor(CursorShape::Arrow);
        return;
    }
    bool live = IsLive(c.syncCheckBox[0], x, y);
    for (std::size_t i = 0; !live && i < c.switches.size(); ++i) {
        live = IsLive(c.switches[i], x, y);
    }
    for (std::size_t i = 0; !live && i < c.buttons.size(); ++i) {
        live = IsLive(c.buttons[i], x, y);
    }
    for (std::span<SkinRadioButton> group : RadioGroups(c)) {
        for (std::size_t i = 0; !live && i < group.size(); ++i) {
            live = IsLive(group[i], x, y);
        }
    }
    if (!live) {
        const LiveSliders resolution = ActiveResolutionSliders(c, panel);
        if (const int i = MoveSliders(resolution.sliders, x, y); i >= 0) {
            live = true;
            SkinSlider& slider = resolution.sliders[static_cast<std::size_t>(i)];
            if (slider.state == 1) {
                Raise(panel, slider, resolution.first + i);
            }
            panel.redraw();
        } else if (const int j = MoveSliders(c.bezelSliders, x, y); j >= 0) {
            live = true;
            SkinSlider& slider = c.bezelSliders[static_cast<std::size_t>(j)];
            if (slider.state == 1) {
                Raise(panel, slider, j);
            }
        }
    }
    panel.showCursor(live ? CursorShape::Hand : CursorShape::Arrow);
}

}  // namespace quelt

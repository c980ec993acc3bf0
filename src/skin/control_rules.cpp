#include "skin/control_rules.h"

namespace quelt {

namespace {

bool TwoStateDisabled(ControlState state) {
    return state == 2 || state == 3;
}

template <typename Toggle>
int PressToggleArray(std::span<Toggle> controls, int x, int y) {
    for (std::size_t i = 0; i < controls.size(); ++i) {
        Toggle& control = controls[i];
        if (!control.Hits(x, y) || TwoStateDisabled(control.state)) {
            continue;
        }
        control.state = control.state == 0 ? 1 : 0;
        return static_cast<int>(i);
    }
    return -1;
}

}  // namespace

ControlState TwoStateEnabled(ControlState state, bool enabled) {
    if (enabled) {
        return state == 3 ? 1 : 0;
    }
    return state == 1 ? 3 : 2;
}

int PressToggles(std::span<SkinCheckBox> boxes, int x, int y) {
    return PressToggleArray(boxes, x, y);
}

int PressToggles(std::span<SkinSwitch> switches, int x, int y) {
    return PressToggleArray(switches, x, y);
}

int PressRadio(std::span<SkinRadioButton> group, int x, int y) {
    for (std::size_t i = 0; i < group.size(); ++i) {
        if (group[i].Hits(x, y) && group[i].state == 0) {
            group[i].state = 1;
            return static_cast<int>(i);
        }
    }
    return -1;
}

void SelectRadio(std::span<SkinRadioButton> group, int chosen) {
    for (std::size_t i = 0; i < group.size(); ++i) {
        if (!TwoStateDisabled(group[i].state)) {
            group[i].state = static_cast<int>(i) == chosen ? 1 : 0;
        }
    }
}

int PressButtons(std::span<SkinButton> buttons, int x, int y) {
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (buttons[i].Hits(x, y) && buttons[i].state != 3) {
            buttons[i].state = 2;
            return static_cast<int>(i);
        }
    }
    return -1;
}

int ReleaseButtons(std::span<SkinButton> buttons, int x, int y) {
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        SkinButton& button = buttons[i];
        if (button.visible == 0 || button.state == 3 || button.state != 2) {
            continue;
        }
        button.state = 0;
        if (PtInRect(button.rect, x, y)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int PressSliders(std::span<SkinSlider> sliders, int x, int y) {
    for (std::size_t i = 0; i < sliders.size(); ++i) {
        SkinSlider& slider = sliders[i];
        if (slider.Hits(x, y) && slider.state != 2) {
            slider.state = 1;
            slider.Track(x, y);
            return static_cast<int>(i);
        }
    }
    return -1;
}

int MoveSliders(std::span<SkinSlider> sliders, int x, int y) {
    for (std::size_t i = 0; i < sliders.size(); ++i) {
        if (sliders[i].Track(x, y) != 0) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int ReleaseSliders(std::span<SkinSlider> sliders) {
    for (std::size_t i = 0; i < sliders.size(); ++i) {
        if (sliders[i].visible != 0 && sliders[i].state == 1) {
            sliders[i].state = 0;
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool IsLive(const SkinButton& control, int x, int y) {
    return control.Hits(x, y) && control.state != 3;
}

bool IsLive(const SkinCheckBox& control, int x, int y) {
    return control.Hits(x, y) && !TwoStateDisabled(control.state);
}

bool IsLive(const SkinSwitch& control, int x, int y) {
    return control.Hits(x, y) && !TwoStateDisabled(control.state);
}

void SetEnabled(SkinButton& control, bool enabled) {
    control.state = enabled ? 0 : 3;
}

void SetEnabled(SkinCheckBox& control, bool enabled) {
    control.state = TwoStateEnabled(control.state, enabled);
}

void SetEnabled(SkinSwitch& control, bool enabled) {
    control.state = TwoStateEnabled(control.state, enabled);
}

void SetEnabled(SkinSlider& control, bool enabled) {
    control.state = enabled ? 0 : 2;
}

void SetEnabled(SkinStaticImage& control, bool enabled) {
    control.state = enabled ? 0 : 1;
}

void SetEnabled(SkinText& control, bool enabled) {
    control.disabled = enabled ? 0 : 1;
}

}  // namespace quelt

#include "panel/window/panel_paint.h"

#include <span>

#include "panel/window/panel_layout.h"

namespace quelt {

namespace {

void InflateRect(SkinRect& r, int dx, int dy) {
    r.left -= dx;
    r.right += dx;
    r.top -= dy;
    r.bottom += dy;
}

void OffsetRect(SkinRect& r, int dx, int dy) {
    r.left += dx;
    r.right += dx;
    r.top += dy;
    r.bottom += dy;
}

// Pulls the rectangle in by 2 * s on the sides the signs name: sx > 0 moves the left edge right,
// sx < 0 the right edge left; likewise sy for the top (> 0) and bottom (< 0) edges.
SkinRect Shifted(SkinRect r, int sx, int sy, int signX, int signY) {
    InflateRect(r, -sx, -sy);
    OffsetRect(r, signX * sx, signY * sy);
    return r;
}

int SliderShift(const SkinSlider& slider, float monitor, float source) {
    return bezelShift(slider.stopCount, slider.GetStop(), monitor, source);
}

constexpr SkinRect kTopLeft{614, 371, 758, 447};
constexpr SkinRect kTopRight{772, 371, 916, 447};
constexpr SkinRect kBottomLeft{614, 470, 758, 546};
constexpr SkinRect kBottomRight{772, 470, 916, 546};

}  // namespace

int bezelShift(int stopCount, int stop, float monitor, float source) {
    const int n = stopCount - 1;
    if (n == 0) {
        return 0;
    }
    const float count = static_cast<float>(n);
    const float perStop = source / count;
    const float monitorStops = monitor / perStop;
    const float divisor = count / monitorStops;
    const float shift = static_cast<float>(stop) / divisor;
    return static_cast<int>(shift);
}

std::vector<PreviewRect> bezelPreviewRects(const PanelControls& c, const DeviceFrame& working) {
    const bool applyDisabled = c.buttons[ctl::kApplyButton].state == 3;
    const std::uint32_t light = applyDisabled ? kPreviewLightDisabled : kPreviewLight;
    const std::uint32_t dark = applyDisabled ? kPreviewDarkDisabled : kPreviewDark;
    const SkinSlider& h = c.bezelSliders[ctl::kHBezel];
    const SkinSlider& v = c.bezelSliders[ctl::kVBezel];

    const bool clone = working.clone();
    const unsigned stretch = working.stretch();
    if (!clone && stretch == 0) {
        const int s = SliderShift(h, 166.0f, 1920.0f);
        return {{Shifted({592, 416, 758, 503}, s, 0, 1, 0), light, dark},
                {Shifted({773, 416, 939, 503}, s, 0, -1, 0), dark, light}};
    }
    if (!clone && stretch == 1) {
        const int s = SliderShift(h, 115.0f, 1920.0f);
        return {{Shifted({516, 447, 631, 507}, s, 0, 1, 0), light, dark},
                {{642, 447, 757, 507}, dark, dark},
                {{768, 447, 883, 507}, dark, dark},
                {Shifted({894, 447, 1009, 507}, s, 0, -1, 0), dark, light}};
    }
    if (!clone && stretch == 2) {
        const int sh = SliderShift(h, 144.0f, 1920.0f);
        const int sv = SliderShift(v, 144.0f, 1080.0f);
        return {{Shifted(kTopLeft, sh, sv, 1, 1), light, dark},
                {Shifted(kTopRight, sh, sv, -1, 1), dark, light},
                {Shifted(kBottomLeft, sh, sv, 1, -1), light, dark},
                {Shifted(kBottomRight, sh, sv, -1, -1), dark, light}};
    }
    if (clone && stretch == 0) {
        return {{kTopLeft, light, dark},
                {kTopRight, dark, light},
                {kBottomLeft, light, dark},
                {kBottomRight, dark, light}};
    }
    return {};
}

ModePictures modePicturesFor(const DeviceFrame& working) {
    if (!working.clone()) {
        switch (working.stretch()) {
            case 0:
                return {2, 6};
            case 1:
                return {3, 7};
            case 2:
                return {4, 8};
            default:
                break;
        }
    }
    return {5, 9};
}

void composePanel(CGUIGDIPlusMfcBaseDlg& dialog, PanelControls& c, const DeviceFrame& working,
                  bool busy) {
    dialog.skinPath = dialog.skinRoot + panel_skin::kBackground;
    dialog.PaintBackground(0, 0, 0, 0, 255, dialog.skinPath);
    gfx::Canvas* dc = dialog.canvas.dc();

    for (const SkinText& label : c.panelLabels) {
        label.Draw(dc);
    }
    for (const SkinText& text : c.deviceInfoTexts) {
        text.Draw(dc);
    }
    for (SkinRadioButton& box : c.deviceBoxGroup) {
        box.Draw(dc);
    }
    const ModePictures pictures = modePicturesFor(working);
    c.staticImages[static_cast<std::size_t>(pictures.mode)].Draw(dc);
    c.staticImages[static_cast<std::size_t>(pictures.bezel)].Draw(dc);
    if (dc != nullptr) {
        for (const PreviewRect& monitor : bezelPreviewRects(c, working)) {
            dialog.FillGradient(monitor.leftColour, monitor.rightColour, monitor.rect);
        }
    }
    c.syncCheckBox[0].Draw(dc);
    for (SkinSwitch& control : c.switches) {
        control.Draw(dc);
    }
    for (SkinButton& button : c.buttons) {
        button.Draw(dc);
    }
    for (std::span<SkinRadioButton> group :
         {std::span<SkinRadioButton>(c.modeGroup), std::span<SkinRadioButton>(c.clockSyncGroup),
          std::span<SkinRadioButton>(c.frameRateGroup), std::span<SkinRadioButton>(c.hLimitGroup),
          std::span<SkinRadioButton>(c.vLimitGroup), std::span<SkinRadioButton>(c.deviceIdGroup)}) {
        for (SkinRadioButton& item : group) {
            item.Draw(dc);
        }
    }
    if (!working.is120Hz()) {
        c.resolutionSliders[ctl::kDp1Slider60].Draw(dc);
        c.resolutionSliders[ctl::kDp2Slider60].Draw(dc);
        for (int k = 0; k < ctl::kLabels60; ++k) {
            c.dp1Labels[static_cast<std::size_t>(k)].Draw(dc);
            c.dp2Labels[static_cast<std::size_t>(k)].Draw(dc);
        }
    } else {
        c.resolutionSliders[ctl::kDp1Slider120].Draw(dc);
        c.resolutionSliders[ctl::kDp2Slider120].Draw(dc);
        for (int k = ctl::kFirst120Label; k < ctl::kFirst120Label + ctl::kLabels120; ++k) {
            c.dp1Labels[static_cast<std::size_t>(k)].Draw(dc);
            c.dp2Labels[static_cast<std::size_t>(k)].Draw(dc);
        }
    }
    for (const SkinText& text : c.bezelTexts) {
        text.Draw(dc);
    }
    for (SkinSlider& slider : c.bezelSliders) {
        slider.Draw(dc);
    }
    c.staticImages[ctl::kHotKeyLegend].Draw(dc);
    if (busy) {
        c.staticImages[ctl::kBusyShadow].Draw(dc);
    }
}

}  // namespace quelt

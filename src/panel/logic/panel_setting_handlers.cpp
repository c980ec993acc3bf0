// The handlers of the radio groups and sliders: each edits the working frame of the current box
// and what depends on it.
#include <cstdio>
#include <string>

#include "device/flags.h"
#include "panel/logic/control_groups.h"
#include "panel/logic/control_state.h"
#include "panel/logic/panel_enablement.h"
#include "panel/logic/panel_handlers.h"
#include "panel/panel_messages.h"

namespace quelt {
namespace {

constexpr std::uint8_t kHLimitStep = 50;
constexpr std::uint8_t kVLimitStep = 15;

std::string bezelText(const char* name, std::uint8_t value) {
    char text[32];
    std::snprintf(text, sizeof text, "%s = %u", name, static_cast<unsigned>(value));
    return text;
}

}  // namespace

void PanelHandlers::setFrameByte(int offset, std::uint8_t value) {
    link_.editWorkingFrame(
        [offset, value](DeviceFrame& frame) { frame[static_cast<std::size_t>(offset)] = value; });
}

// --- radio groups ---

void PanelHandlers::onModeGroup(std::uintptr_t w) {
    selectAndRelease(controls().modeGroup, w);
    if (w <= 3) {
        link_.editWorkingFrame([w](DeviceFrame& frame) {
            static constexpr std::uint32_t kModeBits[] = {0, 1u << 6, 1u << 7,
                                                          frame_flags::cloneBit};
            frame.setFlags((frame.flags() & ~frame_flags::modeMask) | kModeBits[w]);
        });
    }
    const DeviceFrame working = link_.workingFrame();
    mapping_.refreshResolutionLabels(working);
    updateBezelEnable(controls(), working);
    updateResolutionEnable(controls(), working);
    repaint();
}

void PanelHandlers::onClockSyncGroup(std::uintptr_t w) {
    selectAndRelease(controls().clockSyncGroup, w);
    if (w <= 2) {
        link_.editWorkingFrame([w](DeviceFrame& frame) {
            frame.setFlags((frame.flags() & ~frame_flags::clockSyncMask) |
                           static_cast<std::uint32_t>(w));
        });
    }
    updateBezelEnable(controls(), link_.workingFrame());
    repaint();
}

void PanelHandlers::onFrameRateGroup(std::uintptr_t w) {
    selectAndRelease(controls().frameRateGroup, w);
    if (w <= 1) {
        link_.editWorkingFrame([w](DeviceFrame& frame) {
            const std::uint32_t flags = frame.flags() & ~frame_flags::frameRateBit;
            frame.setFlags(w == 1 ? flags | frame_flags::frameRateBit : flags);
        });
    }
    const DeviceFrame working = link_.workingFrame();
    mapping_.refreshResolutionLabels(working);
    updateResolutionEnable(controls(), working);
    repaint();
}

void PanelHandlers::onHLimitGroup(std::uintptr_t w) {
    selectAndRelease(controls().hLimitGroup, w);
    if (w == 0) {
        setFrameByte(frame_offset::hLimit, 0);
        resetBezelToZero(BezelAxis::Horizontal);
        resetBezelToZero(BezelAxis::Vertical);
    } else if (w <= 5) {
        setFrameByte(frame_offset::hLimit, static_cast<std::uint8_t>(w * kHLimitStep));
    }
    limitChanged(BezelAxis::Horizontal, frame_offset::hLimit);
}

void PanelHandlers::onVLimitGroup(std::uintptr_t w) {
    selectAndRelease(controls().vLimitGroup, w);
    if (w <= 3) {
        setFrameByte(frame_offset::vLimit, static_cast<std::uint8_t>((w + 1) * kVLimitStep));
    }
    limitChanged(BezelAxis::Vertical, frame_offset::vLimit);
}

void PanelHandlers::onDeviceBoxGroup(std::uintptr_t w) {
    auto& group = controls().deviceBoxGroup;
    if (operationInFlight_) {
        SelectRadio(group, link_.currentBoxIndex());
    } else if (w < group.size()) {
        SelectRadio(group, static_cast<int>(w));
        link_.selectBox(static_cast<int>(w));
    }
    release(group, w);
    repaint();
}

void PanelHandlers::onDeviceIdGroup(std::uintptr_t w) {
    selectAndRelease(controls().deviceIdGroup, w);
    if (w <= 5) {
        setFrameByte(frame_offset::boxId, static_cast<std::uint8_t>(w + 1));
    }
    repaint();
}

void PanelHandlers::limitChanged(BezelAxis axis, int limitOffset) {
    const DeviceFrame working = link_.workingFrame();
    mapping_.rebuildBezelSlider(axis, working[static_cast<std::size_t>(limitOffset)]);
    updateBezelEnable(controls(), working);
    repaint();
}

// --- sliders ---

void PanelHandlers::resetBezelToZero(BezelAxis axis) {
    const int index = static_cast<int>(axis);
    SkinSlider& slider = controls().bezelSliders[static_cast<std::size_t>(index)];
    if (slider.GetStop() != 0) {
        slider.SetStop(0);
        services().post(axis == BezelAxis::Horizontal ? msg::HBezelSlider : msg::VBezelSlider,
                        static_cast<std::uintptr_t>(index));
    }
}

void PanelHandlers::onDp1Slider(std::uintptr_t w) {
    updateResolutionEnable(controls(), link_.workingFrame());
    resetBezelToZero(BezelAxis::Horizontal);
    resetBezelToZero(BezelAxis::Vertical);
    if (SkinSlider* slider = member(controls().resolutionSliders, w)) {
        setFrameByte(frame_offset::resolutionDp1, stopByte(slider->GetStop()));
        slider->pending = 0;
    }
}

void PanelHandlers::onDp2Slider(std::uintptr_t w) {
    if (SkinSlider* slider = member(controls().resolutionSliders, w)) {
        setFrameByte(frame_offset::resolutionDp2, stopByte(slider->GetStop()));
        slider->pending = 0;
    }
}

void PanelHandlers::onHBezelSlider(std::uintptr_t) {
    bezelSlider(BezelAxis::Horizontal);
}

void PanelHandlers::onVBezelSlider(std::uintptr_t) {
    bezelSlider(BezelAxis::Vertical);
}

void PanelHandlers::bezelSlider(BezelAxis axis) {
    const bool horizontal = axis == BezelAxis::Horizontal;
    const std::size_t index = horizontal ? ctl::kHBezel : ctl::kVBezel;
    SkinSlider& slider = controls().bezelSliders[index];
    const std::uint8_t stop = stopByte(slider.GetStop());
    setFrameByte(horizontal ? frame_offset::hBezel : frame_offset::vBezel, stop);
    controls().bezelTexts[index].text = bezelText(horizontal ? "HBezel" : "VBezel", stop);
    repaint();
    slider.pending = 0;
}

}  // namespace quelt

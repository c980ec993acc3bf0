#pragma once
// What the panel does on each of its own messages: a table from message number to handler.
// Every handler runs on the UI thread and returns 0; Apply and the resets hand their work to the
// operation worker of the device link.
#include <cstdint>

#include "device/device_link.h"
#include "panel/logic/panel_device_view.h"
#include "panel/logic/panel_mapping.h"

namespace quelt {

class PanelHandlers {
  public:
    // `view` is the sink `link` was built with; the handlers learn from it when an operation
    // they started is over.
    PanelHandlers(PanelMapping& mapping, PanelDeviceView& view, DeviceLink& link);

    // True for every message number that has a handler here.
    static bool knows(std::uint32_t message);
    // Runs the message's handler; unknown messages do nothing. Always 0.
    std::intptr_t handle(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);

    // An operation started here has not yet released its button. While it is in flight, the
    // handlers that exchange frames with a box on this thread do not run.
    bool operationInFlight() const { return operationInFlight_; }

    using Handler = void (PanelHandlers::*)(std::uintptr_t wParam);
    struct Entry {
        std::uint32_t message;
        Handler handler;
    };

  private:
    static const Entry* find(std::uint32_t message);

    void onSyncCheckBox(std::uintptr_t w);
    void onStartupDone(std::uintptr_t w);
    void onSerialComSwitch(std::uintptr_t w);
    void onPatternSwitch(std::uintptr_t w);
    void onRgbwSwitch(std::uintptr_t w);
    void onHwReset(std::uintptr_t w);
    void onSwReset(std::uintptr_t w);
    void onApply(std::uintptr_t w);
    void onAdvance(std::uintptr_t w);
    void onExit(std::uintptr_t w);
    void onModeGroup(std::uintptr_t w);
    void onClockSyncGroup(std::uintptr_t w);
    void onFrameRateGroup(std::uintptr_t w);
    void onHLimitGroup(std::uintptr_t w);
    void onVLimitGroup(std::uintptr_t w);
    void onDeviceBoxGroup(std::uintptr_t w);
    void onDeviceIdGroup(std::uintptr_t w);
    void onDp1Slider(std::uintptr_t w);
    void onDp2Slider(std::uintptr_t w);
    void onHBezelSlider(std::uintptr_t w);
    void onVBezelSlider(std::uintptr_t w);
    void onKeyPattern(std::uintptr_t w);
    void onKeyRgbwPattern(std::uintptr_t w);
    void onKeyAllOff(std::uintptr_t w);

    void connect();
    void disconnect();
    void patternSwitch(int switchIndex, DeviceCommand patternOn);
    // Reset buttons also refuse while either pattern switch is on.
    void startOperation(OperationKind kind, std::uintptr_t buttonIndex, bool checkSwitches);
    void bezelSlider(BezelAxis axis);
    // Bezel slider back to stop 0 (posting its message) unless it already rests there.
    void resetBezelToZero(BezelAxis axis);
    // A switch toggled by the pointer while an operation is in flight goes back.
    void undoSwitch(int switchIndex);
    // Byte `offset` of the working frame becomes `value`.
    void setFrameByte(int offset, std::uint8_t value);
    // After a bezel limit changed (byte `limitOffset`): its slider rebuilt, enablement, repaint.
    void limitChanged(BezelAxis axis, int limitOffset);

    PanelControls& controls() { return mapping_.controls(); }
    PanelServices& services() { return mapping_.services(); }
    void repaint() { services().redrawPanel(); }

    static const Entry kTable[];

    PanelMapping& mapping_;
    DeviceLink& link_;
    bool operationInFlight_ = false;  // UI thread only
};

}  // namespace quelt

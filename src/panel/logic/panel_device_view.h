#pragma once
// The panel as the device link sees it. Discovery, box selection and close-all call it on the UI
// thread; Apply and the resets call it from the operation worker. Every step that touches a
// control or draws is handed to the UI thread and waited for, so the worker never touches a
// control record and never interleaves with a paint.
#include <functional>

#include "device/panel_sink.h"
#include "panel/logic/panel_mapping.h"

namespace quelt {

class PanelDeviceView : public PanelSink {
  public:
    explicit PanelDeviceView(PanelMapping& mapping) : mapping_(mapping) {}

    void setPanelEnabled(bool enable) override;
    void showBoxEntry(int index, bool selected, const std::string& infoText) override;
    void hideBoxEntry(int index) override;
    void setBoxInfoText(int index, const std::string& infoText) override;
    // Also re-applies the bezel and DP2 slider rules: the rebuilt bezel sliders start usable,
    // and after a reset nothing else would put the rules back.
    void framesToPanel(const DeviceFrame& frame) override;
    void panelToFrame(DeviceFrame& frame) override;
    void updateBezelEnable(const DeviceFrame& frame) override;
    void updateResolutionEnable(const DeviceFrame& frame) override;
    void redrawPanel() override;
    void showError(int errorIndex) override;
    void setBusy(bool busy) override;
    void releaseButton(int buttonIndex) override;

    // Called on the UI thread whenever the worker has released its button (the operation is
    // over). Set by the handlers.
    std::function<void(int buttonIndex)> onOperationFinished;

  private:
    template <class Step>
    void onUi(Step&& step) {
        mapping_.services().runOnUiThread(std::function<void()>(std::forward<Step>(step)));
    }

    PanelMapping& mapping_;
};

}  // namespace quelt

#pragma once
// What the device operations ask of the panel. The panel implements it (handing every step that
// touches controls or draws to its UI thread and waiting for it); the CLI and the tests implement
// it too. The device link never depends on UI code.
#include <string>

#include "device/frame.h"

namespace quelt {

class PanelSink {
  public:
    virtual ~PanelSink() = default;

    virtual void setPanelEnabled(bool enable) = 0;
    // Device-list entry i: radio button and info text visible, button on when `selected`
    // (unless disabled), text set to `infoText`.
    virtual void showBoxEntry(int index, bool selected, const std::string& infoText) = 0;
    // Device-list entry i: radio button and info text hidden.
    virtual void hideBoxEntry(int index) = 0;
    // Device info text i rewritten (after SetBoxId).
    virtual void setBoxInfoText(int index, const std::string& infoText) = 0;
    // Show the frame on the controls (framesToPanel).
    virtual void framesToPanel(const DeviceFrame& frame) = 0;
    // Write the controls' choices into the frame (panelToFrame), at the start of Apply.
    virtual void panelToFrame(DeviceFrame& frame) = 0;
    virtual void updateBezelEnable(const DeviceFrame& frame) = 0;
    virtual void updateResolutionEnable(const DeviceFrame& frame) = 0;
    virtual void redrawPanel() = 0;
    // Modal error box with text `errors[errorIndex]` of the UI string table; returns when
    // dismissed.
    virtual void showError(int errorIndex) = 0;
    // The panel's busy flag (shadow over the panel, input ignored).
    virtual void setBusy(bool busy) = 0;
    // Clear the pending flag of push button `buttonIndex` so it can post again.
    virtual void releaseButton(int buttonIndex) = 0;
};

}  // namespace quelt

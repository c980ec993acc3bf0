#pragma once
// The panel's side of the device operations for a terminal: there are no controls, so showing
// a frame does nothing, the "controls" a command reads back are the command line's setting
// changes, and an error box becomes a remembered error index that the tool prints.
#include <mutex>
#include <optional>
#include <vector>

#include "device/panel_sink.h"
#include "tools/cli/cli_options.h"

namespace quelt::cli {

class TerminalSink : public PanelSink {
  public:
    explicit TerminalSink(const SettingEdits& edits) : edits_(edits) {}

    void setPanelEnabled(bool) override {}
    void showBoxEntry(int, bool, const std::string&) override {}
    void hideBoxEntry(int) override {}
    void setBoxInfoText(int, const std::string&) override {}
    void framesToPanel(const DeviceFrame&) override {}
    void panelToFrame(DeviceFrame& frame) override;
    void updateBezelEnable(const DeviceFrame&) override {}
    void updateResolutionEnable(const DeviceFrame&) override {}
    void redrawPanel() override {}
    void showError(int errorIndex) override;
    void setBusy(bool) override {}
    void releaseButton(int) override {}

    // The first error an operation raised, if any (operations raise at most one).
    std::optional<int> firstError() const;

  private:
    const SettingEdits& edits_;
    mutable std::mutex mutex_;  // errors are raised from the operation worker
    std::vector<int> errors_;
};

}  // namespace quelt::cli

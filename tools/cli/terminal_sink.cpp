#include "tools/cli/terminal_sink.h"

#include "tools/cli/frame_edit.h"

namespace quelt::cli {

void TerminalSink::panelToFrame(DeviceFrame& frame) {
    applyEdits(frame, edits_);
}

void TerminalSink::showError(int errorIndex) {
    std::lock_guard<std::mutex> lock(mutex_);
    errors_.push_back(errorIndex);
}

std::optional<int> TerminalSink::firstError() const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (errors_.empty()) {
        return std::nullopt;
    }
    return errors_.front();
}

}  // namespace quelt::cli

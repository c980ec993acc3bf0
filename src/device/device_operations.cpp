// The composite device operations: Apply, resets, patterns, box selection.
#include "base/ui_strings.h"
#include "device/device_link.h"
#include "device/flags.h"

namespace quelt {

namespace {

// One command with the pause its code calls for (the command table's single source).
int send(DeviceLink& link, DeviceCommand code, std::uint8_t boxId) {
    return link.sendCommand(code, boxId, commandPauseMs(code));
}

}  // namespace

int DeviceLink::applySettings() {
    DeviceFrame chosen = workingFrame();
    sink_.panelToFrame(chosen);
    setWorkingFrame(chosen);
    const std::uint8_t chosenId = chosen[frame_offset::boxId];

    if (syncToAll != 0) {
        return applyToEveryBox();
    }
    const DeviceFrame device = deviceFrame();
    if (!settingsEqual(device, chosen) &&
        send(*this, DeviceCommand::ApplySettings, currentBoxId()) != 1) {
        sink_.showError(ui_error::kApplySettings);
        return 0;
    }
    if (chosenId != device[frame_offset::boxId]) {
        if (send(*this, DeviceCommand::SetBoxId, chosenId) != 1) {
            sink_.showError(ui_error::kApplySetBoxId);
            return 0;
        }
        if (currentBox_ != nullptr) {
            currentBox_->boxId = chosenId;
        }
        for (int i = 0; i < boxCount_; ++i) {
            const BoxRecord& record = boxTable_[static_cast<std::size_t>(i)];
            sink_.setBoxInfoText(i, boxInfoText(record.firmware, record.comPort, record.boxId));
        }
    }
    if (send(*this, DeviceCommand::FinishApply, currentBoxId()) != 1) {
        sink_.showError(ui_error::kApplyFinish);
        return 0;
    }
    if (queryStatusIntoReply() != 1) {
        sink_.showError(ui_error::kApplyStatus);
        return 0;
    }
    copyReplyToDeviceAndWorking();
    return 1;
}

// Every box gets ApplySettings and FinishApply with its own ID, then its status is read.
int DeviceLink::applyToEveryBox() {
    int result = 1;
    for (int i = 0; i < boxCount_ && result == 1; ++i) {
        const BoxRecord& record = boxTable_[static_cast<std::size_t>(i)];
        if (!record.channelOpen()) {
            continue;
        }
        makeCurrent(i);
        if (send(*this, DeviceCommand::ApplySettings, record.boxId) != 1) {
            sink_.showError(ui_error::kApplySettings);
            result = 0;
        } else if (send(*this, DeviceCommand::FinishApply, record.boxId) != 1) {
            sink_.showError(ui_error::kApplyFinish);
            result = 0;
        } else if (queryStatusIntoReply() != 1) {
            sink_.showError(ui_error::kApplyStatus);
            result = 0;
        }
    }
    makeCurrent(currentBoxIndex_);
    if (result == 1) {
        copyReplyToDeviceAndWorking();
    }
    return result;
}

int DeviceLink::resetBox(ResetKind kind) {
    const bool hardware = kind == ResetKind::Hardware;
    const DeviceCommand command =
        hardware ? DeviceCommand::HardwareReset : DeviceCommand::SoftwareReset;
    if (send(*this, command, currentBoxId()) != 1) {
        sink_.showError(hardware ? ui_error::kHardwareResetCommand
                                 : ui_error::kSoftwareResetCommand);
        return 0;
    }
    if (queryStatusIntoReply() != 1) {
        sink_.showError(hardware ? ui_error::kHardwareResetStatus : ui_error::kSoftwareResetStatus);
        return 0;
    }
    copyReplyToDeviceAndWorking();
    sink_.framesToPanel(workingFrame());
    return 1;
}

int DeviceLink::patternOnFromSwitch(DeviceCommand code) {
    if (send(*this, code, currentBoxId()) != 1) {
        sink_.showError(ui_error::kPatternOn);
        return 0;
    }
    return 1;
}

int DeviceLink::patternOffFromSwitch() {
    if (send(*this, DeviceCommand::PatternOff, currentBoxId()) != 1) {
        sink_.showError(ui_error::kPatternOff);
        return 0;
    }
    return 1;
}

int DeviceLink::selectBox(int index) {
    if (index < 0 || index >= kMaxBoxes) {
        return 0;
    }
    currentBoxIndex_ = index;
    makeCurrent(index);
    if (currentChannel() == nullptr) {
        return 0;
    }
    if (queryStatusIntoReply() != 1) {
        sink_.showError(ui_error::kSwitchDevice);
        return 0;
    }
    copyReplyToDeviceAndWorking();
    showFramesOnPanel();
    return 1;
}

void DeviceLink::patternOnBox(int index, DeviceCommand code) {
    if (index < 0 || index >= boxCount_) {
        return;
    }
    makeCurrent(index);
    if (currentChannel() != nullptr) {
        send(*this, code, currentBoxId());
    }
    makeCurrent(currentBoxIndex_);
    if (currentChannel() != nullptr && queryStatusIntoReply() == 1) {
        copyReplyToDeviceAndWorking();
    }
}

void DeviceLink::allPatternsOff() {
    std::int32_t idle = 0;
    if (!escapeInProgress.compare_exchange_strong(idle, 1)) {
        return;
    }
    for (int i = 0; i < boxCount_; ++i) {
        makeCurrent(i);
        if (currentChannel() != nullptr) {
            send(*this, DeviceCommand::PatternOff, currentBoxId());
        }
    }
    makeCurrent(currentBoxIndex_);
    if (currentChannel() != nullptr && queryStatusIntoReply() == 1) {
        copyReplyToDeviceAndWorking();
    }
    escapeInProgress = 0;
}

}  // namespace quelt

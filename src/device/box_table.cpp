// Discovery of the boxes on COM1..COM14 and the box table.
#include "device/device_link.h"

namespace quelt {

void DeviceLink::showFramesOnPanel() {
    const DeviceFrame working = workingFrame();
    sink_.framesToPanel(working);
    sink_.updateBezelEnable(working);
    sink_.updateResolutionEnable(working);
}

// Opens the current entry's channel on `portNumber` and asks for its status. 1 when a box
// answered; the entry is filled and stays open. Anything else leaves the channel closed.
int DeviceLink::probePort(int portNumber) {
    BoxRecord& record = *currentBox_;
    if (!record.channel) {
        record.channel = portFactory_ ? portFactory_() : nullptr;
    }
    if (!record.channel || record.channel->open(portNumber) != 1) {
        return 0;
    }
    drain();
    const std::uint8_t request = kStatusRequest;
    DeviceFrame status;
    if (writeToCurrent(&request, 1) != 1 || waitReply(status, kStatusRequest) != 1) {
        // Not a box (or a box that does not answer): give the port back and keep probing.
        record.channel->close();
        return 0;
    }
    setReply(status);
    record.firmware = status[frame_offset::firmware];
    record.boxId = status[frame_offset::boxId];
    record.comPort = static_cast<std::uint8_t>(portNumber);
    return 1;
}

int DeviceLink::discoverBoxes() {
    for (BoxRecord& record : boxTable_) {
        if (record.channelOpen()) {
            record.channel->close();
        }
        record.firmware = 0;
        record.comPort = 0;
        record.boxId = 0;
    }
    boxCount_ = 0;
    currentBox_ = &boxTable_[0];
    for (int port = kFirstComPort; port <= kLastComPort && boxCount_ < kMaxBoxes; ++port) {
        if (probePort(port) == 1) {
            ++boxCount_;
            if (boxCount_ < kMaxBoxes) {
                makeCurrent(boxCount_);
            }
        }
        clock_.sleepMs(1);
    }
    if (boxCount_ == 0) {
        return 0;
    }
    currentBoxIndex_ = 0;
    makeCurrent(0);
    sink_.setPanelEnabled(true);
    if (queryStatusIntoReply() != 1) {
        return 0;
    }
    for (int i = 0; i < boxCount_; ++i) {
        const BoxRecord& record = boxTable_[static_cast<std::size_t>(i)];
        sink_.showBoxEntry(i, i == currentBoxIndex_,
                           boxInfoText(record.firmware, record.comPort, record.boxId));
    }
    copyReplyToDeviceAndWorking();
    showFramesOnPanel();
    sink_.redrawPanel();
    return 1;
}

void DeviceLink::closeAllBoxes() {
    for (BoxRecord& record : boxTable_) {
        if (record.channelOpen()) {
            record.channel->close();
        }
    }
    for (int i = 0; i < boxCount_; ++i) {
        sink_.hideBoxEntry(i);
    }
    currentBoxIndex_ = 0;
    boxCount_ = 0;
    showFramesOnPanel();
    sink_.redrawPanel();
}

}  // namespace quelt

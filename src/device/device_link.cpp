// Frames and the single exchanges with the current box: drain, reply wait, command, status.
#include "device/device_link.h"

#include <cstdio>
#include <utility>

namespace quelt {

std::string boxInfoText(std::uint8_t firmware, std::uint8_t comPort, std::uint8_t boxId) {
    char text[64];
    std::snprintf(text, sizeof text, "FW: %u\nCOM: %u\nBoxID: %u", static_cast<unsigned>(firmware),
                  static_cast<unsigned>(comPort), static_cast<unsigned>(boxId));
    return text;
}

DeviceLink::DeviceLink(PanelSink& sink, Clock& clock, SerialPortFactory portFactory)
    : sink_(sink),
      clock_(clock),
      portFactory_(std::move(portFactory)),
      working_(initialWorkingFrame()) {}

DeviceLink::~DeviceLink() {
    waitForWorkers();
    for (BoxRecord& record : boxTable_) {
        if (record.channel) {
            record.channel->close();
        }
    }
}

DeviceFrame DeviceLink::deviceFrame() const {
    std::lock_guard<std::mutex> lock(frameMutex_);
    return device_;
}

DeviceFrame DeviceLink::workingFrame() const {
    std::lock_guard<std::mutex> lock(frameMutex_);
    return working_;
}

DeviceFrame DeviceLink::replyFrame() const {
    std::lock_guard<std::mutex> lock(frameMutex_);
    return reply_;
}

void DeviceLink::setWorkingFrame(const DeviceFrame& frame) {
    std::lock_guard<std::mutex> lock(frameMutex_);
    working_ = frame;
}

void DeviceLink::setReply(const DeviceFrame& frame) {
    std::lock_guard<std::mutex> lock(frameMutex_);
    reply_ = frame;
}

void DeviceLink::copyReplyToDeviceAndWorking() {
    std::lock_guard<std::mutex> lock(frameMutex_);
    device_ = reply_;
    working_ = reply_;
}

int DeviceLink::currentBoxSlot() const {
    if (currentBox_ == nullptr) {
        return -1;
    }
    return static_cast<int>(currentBox_ - boxTable_.data());
}

void DeviceLink::makeCurrent(int index) {
    if (index >= 0 && index < kMaxBoxes) {
        currentBox_ = &boxTable_[static_cast<std::size_t>(index)];
    }
}

SerialPort* DeviceLink::currentChannel() const {
    if (currentBox_ == nullptr || !currentBox_->channelOpen()) {
        return nullptr;
    }
    return currentBox_->channel.get();
}

std::uint8_t DeviceLink::currentBoxId() const {
    return currentBox_ != nullptr ? currentBox_->boxId : 0;
}

int DeviceLink::writeToCurrent(const std::uint8_t* data, std::size_t length) {
    SerialPort* channel = currentChannel();
    return channel != nullptr && channel->write(data, length) == 1 ? 1 : 0;
}

int DeviceLink::drain() {
    SerialPort* channel = currentChannel();
    if (channel == nullptr) {
        return 0;
    }
    drainPort(*channel);
    return 1;
}

int DeviceLink::waitReply(DeviceFrame& destination, std::uint8_t expectedCode) {
    ReplyWaiter waiter(clock_);
    PendingReply reply = waiter.start(currentChannel());
    PendingReply* const replies[] = {&reply};
    waiter.settle(replies);
    // Out of time, or the line went away (nothing more could come): the exchange fails.
    if (reply.state != ReplyState::Complete) {
        return 0;
    }
    return acceptReply(*reply.port, reply.bytes, expectedCode, destination);
}

int DeviceLink::sendCommand(DeviceCommand code, std::uint8_t boxId, std::uint32_t pauseMs) {
    DeviceFrame command;
    {
        std::lock_guard<std::mutex> lock(frameMutex_);
        working_[frame_offset::code] = static_cast<std::uint8_t>(code);
        working_[1] = kMarkerT;
        working_[2] = kMarkerD;
        working_[frame_offset::boxId] = boxId;
        command = working_;
    }
    if (currentBox_ == nullptr) {
        return 0;
    }
    drain();
    if (writeToCurrent(command.bytes.data(), kFrameSize) != 1) {
        return 0;
    }
    if (pauseMs > 0) {
        clock_.sleepMs(pauseMs);
    }
    DeviceFrame echo;
    return waitReply(echo, static_cast<std::uint8_t>(code));
}

int DeviceLink::queryStatus(DeviceFrame& destination) {
    if (currentBox_ == nullptr) {
        return 0;
    }
    drain();
    const std::uint8_t request = kStatusRequest;
    if (writeToCurrent(&request, 1) != 1) {
        return 0;
    }
    return waitReply(destination, kStatusRequest);
}

int DeviceLink::queryStatusIntoReply() {
    DeviceFrame status;
    if (queryStatus(status) != 1) {
        return 0;
    }
    setReply(status);
    return 1;
}

}  // namespace quelt

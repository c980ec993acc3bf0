// Frames and the single exchanges with the current box: drain, reply wait, command, status.
#include "device/device_link.h"

#include <cstdio>
#include <utility>

namespace quelt {
namespace {

constexpr std::int64_t kMicrosPerSecond = 1'000'000;
constexpr std::int64_t kReplyLimitSeconds = kReplyLimitMs / 1000;

}  // namespace

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
    std::uint8_t discard[kDrainSize];
    channel->readAvailable(discard, sizeof discard);
    return 1;
}

int DeviceLink::waitReply(DeviceFrame& destination, std::uint8_t expectedCode) {
    const std::int64_t start = clock_.nowMicros();
    DeviceFrame received;
    std::size_t have = 0;
    int portSaidReady = 0;
    for (;;) {
        SerialPort* channel = currentChannel();
        std::size_t got = 0;
        if (channel != nullptr) {
            // Read no more than the bytes still missing: what follows belongs to the next reply.
            got = channel->readAvailable(received.bytes.data() + have, kFrameSize - have);
            have += got;
            if (have == kFrameSize) {
                break;
            }
        }
        const std::int64_t beforeWait = clock_.nowMicros();
        // A port that says bytes are ready but then delivers none would make this loop spin;
        // it gets the plain 1 ms pause instead.
        const bool readyButEmpty = portSaidReady > 0 && got == 0;
        portSaidReady = channel != nullptr ? channel->waitReadable(1) : -1;
        if (portSaidReady < 0 || readyButEmpty) {
            clock_.sleepMs(1);
        }
        if ((beforeWait - start) / kMicrosPerSecond >= kReplyLimitSeconds) {
            return 0;
        }
    }
    switch (checkReply(received, expectedCode)) {
        case ReplyKind::Valid:
            destination = received;
            return 1;
        case ReplyKind::Negative: {
            drain();
            const std::uint8_t request = kStatusRequest;
            writeToCurrent(&request, 1);  // its answer is not awaited
            return 0;
        }
        case ReplyKind::Wrong:
            break;
    }
    return 0;
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

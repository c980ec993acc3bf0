// Discovery of the boxes on COM1..COM14 and the box table.
#include <algorithm>
#include <memory>
#include <vector>

#include "device/device_link.h"

namespace quelt {

void DeviceLink::showFramesOnPanel() {
    const DeviceFrame working = workingFrame();
    sink_.framesToPanel(working);
    sink_.updateBezelEnable(working);
    sink_.updateResolutionEnable(working);
}

namespace {

// A port that took the status request and whose answer is awaited.
struct Probe {
    int comPort = 0;
    std::unique_ptr<SerialPort> channel;
    PendingReply reply;
};

SkipReason skipReason(const PendingReply& reply) {
    if (reply.state != ReplyState::Complete) {
        return reply.state == ReplyState::LineLost ? SkipReason::LineLost : SkipReason::NoReply;
    }
    return checkReply(reply.bytes, kStatusRequest) == ReplyKind::Negative
               ? SkipReason::NegativeReply
               : SkipReason::WrongReply;
}

// A port whose box answered.
struct Answer {
    int comPort = 0;
    std::unique_ptr<SerialPort> channel;
    DeviceFrame status;
};

// Probing COM1..COM14 with several status requests in flight, so that ports that stay silent
// wait out their reply limits together instead of one after another. Each probe still gets the
// whole limit; a port that does not answer is given back. A port is opened only while the boxes
// found and the probes in flight could not yet make six, so no port is opened when the ports
// below it may hold six boxes.
class PortProbing {
  public:
    PortProbing(Clock& clock, const SerialPortFactory& factory)
        : clock_(clock), factory_(factory), waiter_(clock) {}

    // The boxes that answered, in port order; the ports passed over go to `skipped`.
    std::vector<Answer> run(std::vector<SkippedPort>& skipped) {
        int next = kFirstComPort;
        for (;;) {
            while (next <= kLastComPort && answers_.size() + inFlight_.size() < kMaxBoxes) {
                startProbe(next++);
                clock_.sleepMs(1);
            }
            if (inFlight_.empty()) {
                break;
            }
            std::vector<PendingReply*> replies;
            for (const auto& probe : inFlight_) {
                replies.push_back(&probe->reply);
            }
            if (waiter_.collect(replies) == inFlight_.size()) {
                waiter_.wait(replies);
                continue;
            }
            settleFinished();
        }
        std::sort(answers_.begin(), answers_.end(),
                  [](const Answer& a, const Answer& b) { return a.comPort < b.comPort; });
        std::sort(skipped_.begin(), skipped_.end(),
                  [](const SkippedPort& a, const SkippedPort& b) { return a.comPort < b.comPort; });
        skipped = std::move(skipped_);
        return std::move(answers_);
    }

  private:
    void startProbe(int comPort) {
        auto probe = std::make_unique<Probe>();
        probe->comPort = comPort;
        probe->channel = factory_ ? factory_() : nullptr;
        if (!probe->channel) {
            return;
        }
        if (probe->channel->open(comPort) != 1) {
            const OpenFailure failure = probe->channel->openFailure();
            if (failure != OpenFailure::NoSuchPort) {
                skipped_.push_back({comPort,
                                    failure == OpenFailure::Busy ? SkipReason::Busy
                                    : failure == OpenFailure::PermissionDenied
                                        ? SkipReason::PermissionDenied
                                        : SkipReason::OpenFailed,
                                    probe->channel->devicePath(), probe->channel->openError()});
            }
            return;
        }
        drainPort(*probe->channel);
        const std::uint8_t request = kStatusRequest;
        if (probe->channel->write(&request, 1) != 1) {
            probe->channel->close();  // takes no request: not a box, skipped
            skipped_.push_back(
                {comPort, SkipReason::WriteFailed, probe->channel->devicePath(), {}});
            return;
        }
        probe->reply = waiter_.start(probe->channel.get());
        inFlight_.push_back(std::move(probe));
    }

    void settleFinished() {
        for (auto it = inFlight_.begin(); it != inFlight_.end();) {
            Probe& probe = **it;
            if (probe.reply.state == ReplyState::Waiting) {
                ++it;
                continue;
            }
            DeviceFrame status;
            if (probe.reply.state == ReplyState::Complete &&
                acceptReply(*probe.channel, probe.reply.bytes, kStatusRequest, status) == 1) {
                answers_.push_back(Answer{probe.comPort, std::move(probe.channel), status});
            } else {
                probe.channel->close();  // not a box, or one that does not answer: skipped
                skipped_.push_back(
                    {probe.comPort, skipReason(probe.reply), probe.channel->devicePath(), {}});
            }
            it = inFlight_.erase(it);
        }
    }

    Clock& clock_;
    const SerialPortFactory& factory_;
    ReplyWaiter waiter_;
    std::vector<std::unique_ptr<Probe>> inFlight_;
    std::vector<Answer> answers_;
    std::vector<SkippedPort> skipped_;
};

}  // namespace

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
    std::vector<Answer> answers = PortProbing(clock_, portFactory_).run(skipped_);
    for (Answer& answer : answers) {
        if (boxCount_ == kMaxBoxes) {
            break;  // cannot happen: probing never lets more than six answer
        }
        BoxRecord& record = boxTable_[static_cast<std::size_t>(boxCount_.load())];
        record.channel = std::move(answer.channel);
        record.firmware = answer.status[frame_offset::firmware];
        record.boxId = answer.status[frame_offset::boxId];
        record.comPort = static_cast<std::uint8_t>(answer.comPort);
        setReply(answer.status);
        ++boxCount_;
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

#include "device/reply_wait.h"

#include <algorithm>
#include <vector>

namespace quelt {
namespace {

constexpr std::int64_t kReplyLimitMicros = kReplyLimitMs * 1000;

}  // namespace

PendingReply ReplyWaiter::start(SerialPort* port) const {
    PendingReply reply;
    reply.port = port;
    reply.startMicros = clock_.nowMicros();
    return reply;
}

bool ReplyWaiter::collectOne(PendingReply& reply, std::int64_t now) {
    std::size_t got = 0;
    if (reply.port != nullptr && reply.port->isOpen() == 1) {
        // No more than the bytes still missing: what follows belongs to the next reply.
        got = reply.port->readAvailable(reply.bytes.bytes.data() + reply.have,
                                        kFrameSize - reply.have);
        reply.have += got;
    }
    if (reply.have == kFrameSize) {
        reply.state = ReplyState::Complete;
    } else if (got == 0 && reply.port != nullptr &&
               reply.port->waitReadable(std::chrono::microseconds::zero()) == PortWait::LineLost) {
        reply.state = ReplyState::LineLost;  // nothing more can come: no use waiting it out
    } else if (now - reply.startMicros >= kReplyLimitMicros) {
        reply.state = ReplyState::TimedOut;
    }
    return got > 0 || reply.state != ReplyState::Waiting;
}

std::size_t ReplyWaiter::collect(std::span<PendingReply* const> replies) {
    const std::int64_t now = clock_.nowMicros();
    bool moved = false;
    std::size_t waiting = 0;
    for (PendingReply* reply : replies) {
        if (reply->state == ReplyState::Waiting) {
            moved = collectOne(*reply, now) || moved;
            waiting += reply->state == ReplyState::Waiting ? 1 : 0;
        }
    }
    lookedInVain_ = saidReadable_ && !moved;
    saidReadable_ = false;
    return waiting;
}

void ReplyWaiter::wait(std::span<PendingReply* const> replies) {
    // A port that says bytes are ready but then delivers none would make this loop spin; it
    // gets the plain 1 ms pause instead.
    if (lookedInVain_) {
        lookedInVain_ = false;
        clock_.sleepMs(1);
        return;
    }
    std::vector<SerialPort*> ports;
    std::int64_t nearest = kReplyLimitMicros;
    const std::int64_t now = clock_.nowMicros();
    for (PendingReply* reply : replies) {
        if (reply->state == ReplyState::Waiting) {
            ports.push_back(reply->port);
            nearest = std::min(nearest, reply->startMicros + kReplyLimitMicros - now);
        }
    }
    if (ports.empty() || nearest <= 0) {
        return;
    }
    const std::chrono::microseconds timeout(nearest);
    PortWait seen = PortWait::CannotWait;
    if (std::find(ports.begin(), ports.end(), nullptr) == ports.end()) {
        seen = ports.size() == 1 ? ports.front()->waitReadable(timeout)
                                 : waitAnyReadable(ports, timeout);
    }
    if (seen == PortWait::CannotWait) {
        clock_.sleepMs(1);  // the nominal poll interval
    }
    saidReadable_ = seen == PortWait::Readable;
}

void drainPort(SerialPort& port) {
    std::uint8_t discard[kDrainSize];
    port.readAvailable(discard, sizeof discard);
}

int acceptReply(SerialPort& port, const DeviceFrame& received, std::uint8_t expectedCode,
                DeviceFrame& destination) {
    switch (checkReply(received, expectedCode)) {
        case ReplyKind::Valid:
            destination = received;
            return 1;
        case ReplyKind::Negative: {
            drainPort(port);
            const std::uint8_t request = kStatusRequest;
            port.write(&request, 1);  // its answer is not awaited
            return 0;
        }
        case ReplyKind::Wrong:
            break;
    }
    return 0;
}

void ReplyWaiter::settle(std::span<PendingReply* const> replies) {
    while (collect(replies) > 0) {
        wait(replies);
    }
}

}  // namespace quelt

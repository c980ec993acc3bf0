#pragma once
// Collecting 16-byte replies, on one port or on several at once, each within its own reply
// limit. Waits block on the ports themselves where the platform can (one kernel wait over every
// port still waiting); ports that cannot wait are looked at again after 1 ms on the clock.
#include <cstddef>
#include <cstdint>
#include <span>

#include "device/frame.h"
#include "platform/clock/clock.h"
#include "platform/serial/serial_port.h"

namespace quelt {

inline constexpr std::int64_t kReplyLimitMs = 20000;

enum class ReplyState { Waiting, Complete, LineLost, TimedOut };

struct PendingReply {
    SerialPort* port = nullptr;
    std::int64_t startMicros = 0;
    DeviceFrame bytes{};
    std::size_t have = 0;  // a reply arriving in pieces is assembled
    ReplyState state = ReplyState::Waiting;
};

class ReplyWaiter {
  public:
    explicit ReplyWaiter(Clock& clock) : clock_(clock) {}

    // Starts waiting for a reply on `port`; its limit counts from now.
    PendingReply start(SerialPort* port) const;
    // Reads what has arrived for every waiting reply, no more than the bytes still missing, and
    // settles each that is complete, whose line is lost or whose limit has passed.
    // Returns the number still waiting.
    std::size_t collect(std::span<PendingReply* const> replies);
    // Blocks until one of the waiting replies may move on: bytes, a lost line, or the nearest
    // limit. Call after `collect`.
    void wait(std::span<PendingReply* const> replies);
    // collect and wait until every reply has settled.
    void settle(std::span<PendingReply* const> replies);

  private:
    bool collectOne(PendingReply& reply, std::int64_t now);

    Clock& clock_;
    bool saidReadable_ = false;  // the last wait said bytes were ready
    bool lookedInVain_ = false;  // ... and the look after it found nothing new
};

// What a complete reply on `port` means for a request with `expectedCode`: 1, and `destination`
// written, when it is valid. A negative reply is followed by a drain and one status-request
// byte, whose answer is not awaited. Anything else is a wrong reply.
int acceptReply(SerialPort& port, const DeviceFrame& received, std::uint8_t expectedCode,
                DeviceFrame& destination);

// Reads and discards up to 32 bytes already queued on `port`.
void drainPort(SerialPort& port);

}  // namespace quelt

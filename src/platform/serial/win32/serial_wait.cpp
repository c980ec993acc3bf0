// Waiting on Win32 COM ports for received bytes, one port or several at once. Every wait started
// is ended (taken or cancelled, and the cancellation waited for) before the call returns.
#include <algorithm>
#include <utility>
#include <vector>

#include "platform/serial/win32/serial_channel.h"

namespace quelt::win32 {
namespace {

// A wait limit in whole milliseconds, rounded up: a wait rounded down to 0 ms would return at
// once and the reply wait built on it would spin.
DWORD waitMs(std::chrono::microseconds timeout) {
    const auto us = std::max<std::int64_t>(timeout.count(), 0);
    return static_cast<DWORD>(std::min<std::int64_t>((us + 999) / 1000, INFINITE - 1));
}

}  // namespace

SerialChannel::Arm SerialChannel::armWait() {
    if (queuedBytes() > 0 || lineLost_) {  // asking also notices a device that is gone
        return Arm::Ready;
    }
    if (!waitEvent_.valid()) {
        return Arm::Unable;
    }
    if (way_ == WaitWay::CharacterEvent) {
        return armCharacterEvent();
    }
    // A one-byte read waits where the driver lets a read wait for data (wine does). Where it
    // returns at once with nothing, as Windows does with this channel's read timeouts, the port
    // waits on its received-character event from then on.
    waitRecord_ = OVERLAPPED{};
    waitRecord_.hEvent = waitEvent_.get();
    ResetEvent(waitRecord_.hEvent);
    if (ReadFile(port_.get(), &lookahead_, 1, nullptr, &waitRecord_)) {
        DWORD got = 0;
        GetOverlappedResult(port_.get(), &waitRecord_, &got, FALSE);
        if (got == 1) {
            haveLookahead_ = true;
            return Arm::Ready;
        }
        way_ = WaitWay::CharacterEvent;
        return armCharacterEvent();
    }
    if (GetLastError() != ERROR_IO_PENDING) {
        lineLost_ = true;  // a failed read: the device is gone
        return Arm::Ready;
    }
    way_ = WaitWay::PendingRead;
    pending_ = WaitWay::PendingRead;
    return Arm::Pending;
}

SerialChannel::Arm SerialChannel::armCharacterEvent() {
    if (!canWait_) {
        return Arm::Unable;
    }
    waitRecord_ = OVERLAPPED{};
    waitRecord_.hEvent = waitEvent_.get();
    ResetEvent(waitRecord_.hEvent);
    eventMask_ = 0;
    if (WaitCommEvent(port_.get(), &eventMask_, &waitRecord_)) {
        return Arm::Ready;  // a character arrived since the last wait
    }
    if (GetLastError() != ERROR_IO_PENDING) {
        return Arm::Unable;
    }
    pending_ = WaitWay::CharacterEvent;
    // A byte that arrived just before the wait started need not wake it: look once more.
    if (driverQueued() > 0 || lineLost_) {
        endWait(false);
        return Arm::Ready;
    }
    return Arm::Pending;
}

SerialChannel::WaitEnd SerialChannel::endWait(bool signalled) {
    if (!signalled) {
        CancelIoEx(port_.get(), &waitRecord_);
    }
    DWORD moved = 0;
    const bool ok = GetOverlappedResult(port_.get(), &waitRecord_, &moved, TRUE) != FALSE;
    const bool failed = !ok && (signalled || GetLastError() != ERROR_OPERATION_ABORTED);
    const WaitWay was = std::exchange(pending_, WaitWay::Unknown);
    if (was == WaitWay::PendingRead) {
        haveLookahead_ = moved == 1;  // a byte read just before a cancellation is kept
        if (failed) {
            lineLost_ = true;
        } else if (ok && moved == 0) {
            way_ = WaitWay::CharacterEvent;  // the read came back empty: it cannot wait
        }
        return signalled || haveLookahead_ || failed ? WaitEnd::Woke : WaitEnd::Cancelled;
    }
    if (failed) {
        driverQueued();  // a device that is gone refuses this too
        return lineLost_ ? WaitEnd::Woke : WaitEnd::Failed;
    }
    return signalled ? WaitEnd::Woke : WaitEnd::Cancelled;
}

PortWait SerialChannel::lineState() {
    if (queuedBytes() > 0) {
        return PortWait::Readable;  // a last reply before a hang-up still counts
    }
    return lineLost_ ? PortWait::LineLost : PortWait::TimedOut;
}

PortWait SerialChannel::waitAny(std::span<SerialChannel* const> channels,
                                std::chrono::microseconds timeout) {
    std::vector<SerialChannel*> armed;
    std::vector<HANDLE> events;
    bool woke = false;
    bool unable = false;
    for (SerialChannel* channel : channels) {
        const Arm arm =
            channel != nullptr && channel->isOpen() == 1 ? channel->armWait() : Arm::Unable;
        if (arm == Arm::Pending) {
            armed.push_back(channel);
            events.push_back(channel->waitEvent_.get());
        }
        woke = arm == Arm::Ready;
        unable = arm == Arm::Unable;
        if (woke || unable) {
            break;
        }
    }
    if (!woke && !unable && !events.empty() &&
        WaitForMultipleObjects(static_cast<DWORD>(events.size()), events.data(), FALSE,
                               waitMs(timeout)) == WAIT_FAILED) {
        unable = true;
    }
    bool failed = false;
    for (std::size_t i = 0; i < armed.size(); ++i) {
        const WaitEnd end = armed[i]->endWait(WaitForSingleObject(events[i], 0) == WAIT_OBJECT_0);
        woke = woke || end == WaitEnd::Woke;
        failed = failed || end == WaitEnd::Failed;
    }
    // A character wait the driver broke off says nothing: the caller looks again after a pause.
    if (unable || (failed && !woke)) {
        return PortWait::CannotWait;
    }
    return woke ? PortWait::Readable : PortWait::TimedOut;
}

PortWait SerialChannel::waitReadable(std::chrono::microseconds timeout) {
    if (isOpen() == 0) {
        return PortWait::CannotWait;
    }
    if (timeout.count() <= 0) {
        return lineState();  // a look: no wait to start and cancel
    }
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    SerialChannel* self = this;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::microseconds>(
            deadline - std::chrono::steady_clock::now());
        if (waitAny(std::span<SerialChannel* const>(&self, 1), left) == PortWait::CannotWait) {
            return lineLost_ ? PortWait::LineLost : PortWait::CannotWait;
        }
        // A character event can be left over from a byte read since: wait again then.
        const PortWait state = lineState();
        if (state != PortWait::TimedOut || std::chrono::steady_clock::now() >= deadline) {
            return state;
        }
    }
}

}  // namespace quelt::win32

namespace quelt {

PortWait waitAnyReadable(std::span<SerialPort* const> ports, std::chrono::microseconds timeout) {
    std::vector<win32::SerialChannel*> channels;
    channels.reserve(ports.size());
    for (SerialPort* port : ports) {
        auto* channel = dynamic_cast<win32::SerialChannel*>(port);
        if (channel == nullptr) {
            return PortWait::CannotWait;
        }
        channels.push_back(channel);
    }
    return win32::SerialChannel::waitAny(channels, timeout);
}

}  // namespace quelt

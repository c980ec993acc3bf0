#include "platform/serial/win32/serial_channel.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace quelt::win32 {

namespace {

// "\\.\COMn": the device-namespace form also reaches COM10 and above.
std::wstring portPath(int portNumber) {
    return L"\\\\.\\COM" + std::to_wstring(portNumber);
}

UniqueHandle makeManualResetEvent() {
    return UniqueHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr));
}

// 460800 baud, 8 data bits, no parity, one stop bit. A COM port keeps the line settings the last
// program left on it, so parity and stop bits are set too; flow control stays as the port has it.
bool configureLine(HANDLE port) {
    DCB dcb{};
    dcb.DCBlength = sizeof(dcb);
    if (!GetCommState(port, &dcb)) {
        return false;
    }
    dcb.BaudRate = SerialChannel::kBaudRate;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.fParity = FALSE;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    return SetCommState(port, &dcb) != FALSE;
}

// A wait limit in whole milliseconds, rounded up: a wait rounded down to 0 ms would return at
// once and the reply wait built on it would spin.
DWORD waitMs(std::chrono::microseconds timeout) {
    const auto us = std::max<std::int64_t>(timeout.count(), 0);
    return static_cast<DWORD>(std::min<std::int64_t>((us + 999) / 1000, INFINITE - 1));
}

}  // namespace

int SerialChannel::open(int portNumber) {
    if (opened_ != 0) {
        return 1;
    }
    if (portNumber < 1) {
        return 0;
    }
    UniqueHandle port(CreateFileW(portPath(portNumber).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr));
    if (!port.valid()) {
        return 0;
    }
    // Reads return at once with what is queued; the driver ends any write after 5 s.
    COMMTIMEOUTS timeouts{MAXDWORD, 0, 0, 0, kWriteTimeoutMs};
    SetCommTimeouts(port.get(), &timeouts);

    UniqueHandle readEvent = makeManualResetEvent();
    UniqueHandle writeEvent = makeManualResetEvent();
    UniqueHandle waitEvent = makeManualResetEvent();
    const bool configured = configureLine(port.get());
    const bool queuesSet = SetupComm(port.get(), kQueueBytes, kQueueBytes) != FALSE;
    if (!configured || !queuesSet || !readEvent.valid() || !writeEvent.valid()) {
        return 0;  // the handles close here
    }

    port_ = std::move(port);
    readEvent_ = std::move(readEvent);
    writeEvent_ = std::move(writeEvent);
    waitEvent_ = std::move(waitEvent);
    readRecord_ = OVERLAPPED{};
    writeRecord_ = OVERLAPPED{};
    waitRecord_ = OVERLAPPED{};
    // Without a character event the port can still be polled: waitReadable says CannotWait.
    canWait_ = waitEvent_.valid() && SetCommMask(port_.get(), EV_RXCHAR) != FALSE;
    lineLost_ = false;
    opened_ = 1;
    return 1;
}

int SerialChannel::isOpen() const {
    return opened_ != 0 && port_.valid() ? 1 : 0;
}

bool SerialChannel::finishTransfer(OVERLAPPED& record, DWORD waitMs, DWORD& moved) {
    const bool signalled = WaitForSingleObject(record.hEvent, waitMs) == WAIT_OBJECT_0;
    if (!signalled) {
        // Fails with ERROR_NOT_FOUND when the transfer finished meanwhile; either way the wait
        // below returns once the driver has let go of the record and the buffer.
        CancelIoEx(port_.get(), &record);
    }
    moved = 0;
    return GetOverlappedResult(port_.get(), &record, &moved, signalled ? FALSE : TRUE) != FALSE;
}

int SerialChannel::write(const std::uint8_t* data, std::size_t length) {
    if (isOpen() == 0 || data == nullptr || length == 0 || length > MAXDWORD) {
        return 0;
    }
    const auto wanted = static_cast<DWORD>(length);
    writeRecord_ = OVERLAPPED{};
    writeRecord_.hEvent = writeEvent_.get();
    if (!WriteFile(port_.get(), data, wanted, nullptr, &writeRecord_) &&
        GetLastError() != ERROR_IO_PENDING) {
        return 0;
    }
    // A write finished at once has signalled its event, so this does not wait then.
    DWORD written = 0;
    const bool finished = finishTransfer(writeRecord_, kWriteWaitMs, written);
    return finished && written == wanted ? 1 : 0;
}

DWORD SerialChannel::queuedBytes() {
    if (isOpen() == 0) {
        return 0;
    }
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(port_.get(), &errors, &status)) {
        lineLost_ = true;  // a removed device refuses this (access denied, not ready)
        return 0;
    }
    return status.cbInQue;
}

std::size_t SerialChannel::readAvailable(std::uint8_t* buffer, std::size_t maximum) {
    if (isOpen() == 0 || buffer == nullptr || maximum == 0) {
        return 0;
    }
    // Only queued bytes are read: a read on an empty queue may stay pending (it does under wine).
    const DWORD queued = queuedBytes();
    if (queued == 0) {
        return 0;
    }
    const auto wanted = static_cast<DWORD>(std::min<std::size_t>({maximum, queued, MAXDWORD}));
    readRecord_ = OVERLAPPED{};
    readRecord_.hEvent = readEvent_.get();
    if (!ReadFile(port_.get(), buffer, wanted, nullptr, &readRecord_) &&
        GetLastError() != ERROR_IO_PENDING) {
        lineLost_ = true;
        return 0;
    }
    // Bytes that reached the buffer count even when the read was cut short, so none are lost.
    DWORD received = 0;
    if (!finishTransfer(readRecord_, kReadWaitMs, received) &&
        GetLastError() != ERROR_OPERATION_ABORTED) {
        lineLost_ = true;
    }
    return received;
}

SerialChannel::Arm SerialChannel::armWait() {
    const bool queued = queuedBytes() > 0;  // also notices a device that is gone
    if (queued || lineLost_) {
        return Arm::Ready;
    }
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
        lineLost_ = true;
        return Arm::Ready;
    }
    // A byte that arrived just before the wait started need not wake it: look once more.
    if (queuedBytes() > 0 || lineLost_) {
        endWait(false);
        return Arm::Ready;
    }
    return Arm::Pending;
}

void SerialChannel::endWait(bool signalled) {
    if (!signalled) {
        CancelIoEx(port_.get(), &waitRecord_);
    }
    DWORD unused = 0;
    if (!GetOverlappedResult(port_.get(), &waitRecord_, &unused, TRUE) &&
        (signalled || GetLastError() != ERROR_OPERATION_ABORTED)) {
        lineLost_ = true;  // the driver ended the wait with an error: the device went away
    }
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
    bool ready = false;
    bool unable = false;
    for (SerialChannel* channel : channels) {
        if (channel == nullptr || channel->isOpen() == 0) {
            unable = true;
            break;
        }
        const Arm arm = channel->armWait();
        if (arm == Arm::Pending) {
            armed.push_back(channel);
            events.push_back(channel->waitEvent_.get());
        }
        ready = arm == Arm::Ready;
        unable = arm == Arm::Unable;
        if (ready || unable) {
            break;
        }
    }
    if (!ready && !unable && !events.empty() &&
        WaitForMultipleObjects(static_cast<DWORD>(events.size()), events.data(), FALSE,
                               waitMs(timeout)) == WAIT_FAILED) {
        unable = true;
    }
    // Every wait started here ends here, signalled or cancelled.
    bool signalled = false;
    for (std::size_t i = 0; i < armed.size(); ++i) {
        const bool set = WaitForSingleObject(events[i], 0) == WAIT_OBJECT_0;
        armed[i]->endWait(set);
        signalled = signalled || set;
    }
    if (unable) {
        return PortWait::CannotWait;
    }
    return ready || signalled ? PortWait::Readable : PortWait::TimedOut;
}

PortWait SerialChannel::waitReadable(std::chrono::microseconds timeout) {
    if (isOpen() == 0) {
        return PortWait::CannotWait;
    }
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    SerialChannel* self = this;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::microseconds>(
            deadline - std::chrono::steady_clock::now());
        if (waitAny(std::span<SerialChannel* const>(&self, 1), left) == PortWait::CannotWait) {
            return PortWait::CannotWait;
        }
        // A character event can be left over from a byte read since: wait again then.
        const PortWait state = lineState();
        if (state != PortWait::TimedOut || std::chrono::steady_clock::now() >= deadline) {
            return state;
        }
    }
}

void SerialChannel::close() {
    // Every transfer has finished or been cancelled before its call returned: nothing is pending.
    port_.reset();
    readEvent_.reset();
    writeEvent_.reset();
    waitEvent_.reset();
    readRecord_ = OVERLAPPED{};
    writeRecord_ = OVERLAPPED{};
    waitRecord_ = OVERLAPPED{};
    canWait_ = false;
    lineLost_ = false;
    opened_ = 0;
}

}  // namespace quelt::win32

namespace quelt {

std::unique_ptr<SerialPort> makeSerialChannel() {
    return std::make_unique<win32::SerialChannel>();
}

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

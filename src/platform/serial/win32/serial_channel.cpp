#include "platform/serial/win32/serial_channel.h"

#include "platform/serial/port_map.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>

namespace quelt::win32 {

namespace {

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

}  // namespace

int SerialChannel::open(int portNumber) {
    if (opened_ != 0) {
        return 1;
    }
    error_.clear();
    failure_ = OpenFailure::None;
    path_ = serialPortMapping(portNumber).path;
    if (path_.empty()) {
        failure_ = OpenFailure::NoSuchPort;
        return 0;
    }
    UniqueHandle port(CreateFileW(portDevicePath(portNumber).c_str(), GENERIC_READ | GENERIC_WRITE,
                                  0, nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr));
    if (!port.valid()) {
        error_ = openFailureText(portNumber, GetLastError(), failure_);
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
        // Not a serial port (wine also opens a COM port whose device is missing this far).
        error_ = "COM" + std::to_string(portNumber) + " (" + path_ +
                 "): not a serial port (its line settings were refused)";
        failure_ = OpenFailure::NoSuchPort;
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
    way_ = WaitWay::Unknown;
    haveLookahead_ = false;
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
    const DWORD held = driverQueued();
    return held + (haveLookahead_ && held < MAXDWORD ? 1 : 0);
}

DWORD SerialChannel::driverQueued() {
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
    std::size_t taken = 0;
    if (haveLookahead_) {  // the byte a wait read comes first
        buffer[0] = lookahead_;
        haveLookahead_ = false;
        taken = 1;
    }
    // Only queued bytes are read: a read on an empty queue may stay pending (it does under wine).
    const DWORD queued = driverQueued();
    if (queued == 0 || taken == maximum) {
        return taken;
    }
    const auto wanted =
        static_cast<DWORD>(std::min<std::size_t>({maximum - taken, queued, MAXDWORD}));
    readRecord_ = OVERLAPPED{};
    readRecord_.hEvent = readEvent_.get();
    if (!ReadFile(port_.get(), buffer + taken, wanted, nullptr, &readRecord_) &&
        GetLastError() != ERROR_IO_PENDING) {
        lineLost_ = true;
        return taken;
    }
    // Bytes that reached the buffer count even when the read was cut short, so none are lost.
    DWORD received = 0;
    if (!finishTransfer(readRecord_, kReadWaitMs, received) &&
        GetLastError() != ERROR_OPERATION_ABORTED) {
        lineLost_ = true;
    }
    return taken + received;
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
    way_ = WaitWay::Unknown;
    pending_ = WaitWay::Unknown;
    haveLookahead_ = false;
    lineLost_ = false;
    opened_ = 0;
}

}  // namespace quelt::win32

namespace quelt {

std::unique_ptr<SerialPort> makeSerialChannel() {
    return std::make_unique<win32::SerialChannel>();
}

}  // namespace quelt

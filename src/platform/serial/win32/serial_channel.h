#pragma once
// The serial channel on a Win32 COM port: overlapped reads and writes, each with its own
// manual-reset event. A transfer the channel stops waiting for is cancelled before the call
// returns, so a record or a buffer is never reused while the driver still holds it.
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "platform/os/win32/unique_handle.h"
#include "platform/serial/serial_port.h"

namespace quelt::win32 {

class SerialChannel final : public SerialPort {
  public:
    static constexpr DWORD kBaudRate = 460800;
    static constexpr DWORD kQueueBytes = 10000;
    static constexpr DWORD kWriteTimeoutMs = 5000;  // the driver's own bound on one write
    static constexpr DWORD kWriteWaitMs = 1000;
    static constexpr DWORD kReadWaitMs = 2000;

    SerialChannel() = default;
    ~SerialChannel() override { close(); }
    SerialChannel(const SerialChannel&) = delete;
    SerialChannel& operator=(const SerialChannel&) = delete;

    int open(int portNumber) override;
    int isOpen() const override;
    int write(const std::uint8_t* data, std::size_t length) override;
    std::size_t readAvailable(std::uint8_t* buffer, std::size_t maximum) override;
    void close() override;
    int waitReadable(int timeoutMs) override;

    // Received bytes waiting in the driver; asking also clears the port's error state.
    // 0 when the channel is closed.
    DWORD queuedBytes();

  private:
    // Starts nothing: waits for the transfer already started on `record`. If it is not done
    // within `waitMs` it is cancelled and the cancellation waited for. `moved` receives the
    // bytes the transfer moved in every case; the result says whether it finished normally.
    bool finishTransfer(OVERLAPPED& record, DWORD waitMs, DWORD& moved);

    UniqueHandle port_;
    UniqueHandle readEvent_;
    UniqueHandle writeEvent_;
    OVERLAPPED readRecord_{};
    OVERLAPPED writeRecord_{};
    int opened_ = 0;
};

}  // namespace quelt::win32

#pragma once
// The serial channel on a Win32 COM port: overlapped reads, writes and waits for received bytes,
// each with its own manual-reset event. A transfer or wait the channel stops waiting for is
// cancelled, and the cancellation waited for, before the call returns, so a record or a buffer is
// never reused while the driver still holds it.
#include <windows.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "platform/os/win32/unique_handle.h"
#include "platform/serial/serial_port.h"

namespace quelt::win32 {

// The port map's device for COM `com` (port_config.cpp): "\\.\COMn" unless the command line
// named another.
std::wstring portDevicePath(int com);
// "COM3 (\\.\COM3): ..." for an open of COM `com` that failed with `code`; `kind` says what
// the failure means.
std::string openFailureText(int com, DWORD code, OpenFailure& kind);

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
    std::string openError() const override { return error_; }
    OpenFailure openFailure() const override { return failure_; }
    std::string devicePath() const override { return path_; }
    // Waits on the port itself, not by sleeping: a pending one-byte read where the driver lets
    // a read wait (wine does), else a received-character event (Windows, whose reads return at
    // once with the timeouts this channel sets).
    PortWait waitReadable(std::chrono::microseconds timeout) override;

    // Waits until one of `channels` has bytes queued or has lost its line (waitAnyReadable).
    static PortWait waitAny(std::span<SerialChannel* const> channels,
                            std::chrono::microseconds timeout);

    // Received bytes waiting to be read; asking also clears the port's error state.
    // 0 when the channel is closed or the device is gone.
    DWORD queuedBytes();

  private:
    enum class Arm { Pending, Ready, Unable };
    enum class WaitWay { Unknown, PendingRead, CharacterEvent };
    enum class WaitEnd { Woke, Cancelled, Failed };
    // Starts a wait on the port unless bytes are queued or the line is lost already (Ready),
    // or the port cannot wait (Unable).
    Arm armWait();
    Arm armCharacterEvent();
    // Ends the wait armWait started: takes its result when `signalled`, else cancels it and
    // waits for the cancellation. A read that fails means the line is lost; a character wait
    // the driver ends with an error is Failed (the caller polls this round).
    WaitEnd endWait(bool signalled);
    // What a wait that just ended found.
    PortWait lineState();
    // What the driver holds (ClearCommError); a refusal means the device is gone.
    DWORD driverQueued();

    // Starts nothing: waits for the transfer already started on `record`. If it is not done
    // within `waitMs` it is cancelled and the cancellation waited for. `moved` receives the
    // bytes the transfer moved in every case; the result says whether it finished normally.
    bool finishTransfer(OVERLAPPED& record, DWORD waitMs, DWORD& moved);

    std::string path_;
    std::string error_;
    OpenFailure failure_ = OpenFailure::None;
    UniqueHandle port_;
    UniqueHandle readEvent_;
    UniqueHandle writeEvent_;
    OVERLAPPED readRecord_{};
    OVERLAPPED writeRecord_{};
    UniqueHandle waitEvent_;
    OVERLAPPED waitRecord_{};
    DWORD eventMask_ = 0;
    WaitWay way_ = WaitWay::Unknown;      // how this port waits, learnt on the first wait
    WaitWay pending_ = WaitWay::Unknown;  // the wait in flight
    std::uint8_t lookahead_ = 0;          // the byte a pending read took, not yet delivered
    bool haveLookahead_ = false;
    bool canWait_ = false;   // the port takes a character event mask
    bool lineLost_ = false;  // a read or the error state said the device is gone
    int opened_ = 0;
};

}  // namespace quelt::win32

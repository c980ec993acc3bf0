#pragma once
// The serial channel to one box: open, bounded write, read what is queued, close.
// The channel does no framing; the request/reply logic lives in the device link.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

namespace quelt {

class SerialPort {
  public:
    virtual ~SerialPort() = default;

    // Opens COM `portNumber` (1..14) exclusively at 460800 baud, 8N1, raw. Returns 1 on success.
    // An already open channel returns 1 at once and stays bound to the port it holds.
    virtual int open(int portNumber) = 0;
    virtual int isOpen() const = 0;
    // Writes the whole buffer. Returns 1 only when every byte went out within the bound.
    virtual int write(const std::uint8_t* data, std::size_t length) = 0;
    // Reads up to `maximum` bytes of what is already queued; never waits for more. 0 when none.
    virtual std::size_t readAvailable(std::uint8_t* buffer, std::size_t maximum) = 0;
    // Closes the port; a closed channel may be opened again.
    virtual void close() = 0;
    // Waits at most `timeoutMs` for received bytes. 1: bytes are queued; 0: the time passed
    // with none; -1: this port cannot wait, the caller sleeps on its clock instead.
    virtual int waitReadable(int timeoutMs) {
        (void)timeoutMs;
        return -1;
    }
};

using SerialPortFactory = std::function<std::unique_ptr<SerialPort>()>;

// The platform's serial channel (POSIX tty or Win32 COM port).
std::unique_ptr<SerialPort> makeSerialChannel();

}  // namespace quelt

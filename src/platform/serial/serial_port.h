#pragma once
// The serial channel to one box: open, bounded write, read what is queued, wait for bytes, close.
// The channel does no framing; the request/reply logic lives in the device link.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

namespace quelt {

// What a wait for received bytes saw.
enum class PortWait {
    Readable,    // received bytes are queued
    TimedOut,    // the time passed with none
    LineLost,    // the line hung up or reported an error: nothing more will come
    CannotWait,  // the port cannot wait; the caller sleeps on its clock and looks again
};

// Why an open failed, as far as the channel can tell.
enum class OpenFailure { None, NoSuchPort, Busy, PermissionDenied, Other };

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
    // Why the last open failed: port, path, the system's text and a hint where one helps.
    // Empty after a successful open, or when the channel cannot tell.
    virtual std::string openError() const { return {}; }
    // The kind of the last open failure; a channel that cannot tell says NoSuchPort.
    virtual OpenFailure openFailure() const { return OpenFailure::NoSuchPort; }
    // The device behind the port opened (or tried) last; empty when the channel cannot tell.
    virtual std::string devicePath() const { return {}; }
    // Blocks at most `timeout` until received bytes are queued or the line is lost. Bytes already
    // queued are reported before a hang-up, so a last reply is never lost. A closed channel, or
    // a port that has no way to wait, says CannotWait.
    virtual PortWait waitReadable(std::chrono::microseconds timeout) {
        (void)timeout;
        return PortWait::CannotWait;
    }
};

using SerialPortFactory = std::function<std::unique_ptr<SerialPort>()>;

// The platform's serial channel (POSIX tty or Win32 COM port).
std::unique_ptr<SerialPort> makeSerialChannel();

// For a command-line program: on SIGINT, SIGTERM or SIGHUP every open channel is closed (its
// exclusive mode cleared, its lock released) and the process exits with 128 + the signal.
// Windows closes the ports of an ended process itself; there it does nothing.
void closePortsOnSignals();

// Blocks at most `timeout` until one of `ports` has bytes queued or has lost its line; which one
// is for the caller to ask each with a zero wait. Readable when something happened, TimedOut
// when nothing did. CannotWait when a port is not an open channel of this platform (an
// in-memory port, a closed one): the caller then sleeps on its clock and looks again.
PortWait waitAnyReadable(std::span<SerialPort* const> ports, std::chrono::microseconds timeout);

}  // namespace quelt

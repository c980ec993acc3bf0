#pragma once
// An in-process serial "bus": COM numbers wired to simulated boxes, and serial ports that talk
// to them with no I/O at all. Replies become readable when the injected clock reaches their time,
// so delays, split replies and the 20 s limit are exact and instant in tests.
#include <atomic>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/clock/clock.h"
#include "platform/serial/serial_port.h"
#include "tools/boxsim/box_model.h"

namespace quelt::sim {

// A fake clock: time moves only when someone sleeps (or the test advances it).
class FakeClock : public Clock {
  public:
    std::int64_t nowMicros() override { return now_.load(); }
    void sleepMs(std::uint32_t ms) override { now_ += static_cast<std::int64_t>(ms) * 1000; }
    void advanceMicros(std::int64_t us) { now_ += us; }

  private:
    std::atomic<std::int64_t> now_{1'000'000};
};

// Safe to use from several threads; a port itself is used by one thread at a time.
class InMemoryBus {
  public:
    explicit InMemoryBus(Clock& clock) : clock_(clock) {}

    BoxModel& addBox(const BoxConfig& config);
    // Something on port `com` that opens but is not a box (answers nothing).
    void addForeignDevice(int com);
    // A port that exists but another program holds it (open fails).
    void addBusyPort(int com);
    // Writes to the device on `com` fail (a port that opens but takes nothing).
    void failWrites(int com, bool fail = true);
    // The line of `com` drops right after the next write reaches the device (a simulator
    // killed, an adapter pulled out): no answer comes, waits report the line lost and writes
    // fail until the port is opened again.
    void hangUpAfterNextWrite(int com);

    BoxModel* box(int com);
    // Every open attempt, in order (port numbers).
    std::vector<int> openAttempts() const;
    // Every byte string written by the panel, per port, in order.
    std::vector<std::vector<std::uint8_t>> writes(int com) const;
    // Every write on any port in order: (port, bytes).
    std::vector<std::pair<int, std::vector<std::uint8_t>>> writeLog() const;
    // Every byte written to `com`, concatenated.
    std::vector<std::uint8_t> writtenBytes(int com) const;
    void clearWrites();
    // Number of ports currently held open.
    int openCount() const;
    bool isHeld(int com) const;

    SerialPortFactory factory();

  private:
    friend class InMemoryPort;
    struct Endpoint {
        std::unique_ptr<BoxModel> model;  // null for a foreign device
        bool busy = false;
        bool held = false;
        bool writesFail = false;
        bool hangUpAfterWrite = false;
        bool hungUp = false;
        std::deque<std::pair<std::int64_t, std::uint8_t>> pending;  // (ready at us, byte)
        std::vector<std::vector<std::uint8_t>> writes;
    };

    // 1 opened, 0 no such port, -1 held by someone else.
    int openPort(int com);
    void releasePort(int com);
    int writePort(int com, const std::uint8_t* data, std::size_t length);
    std::size_t readPort(int com, std::uint8_t* buffer, std::size_t maximum);
    PortWait portState(int com);

    Clock& clock_;
    mutable std::mutex mutex_;
    std::map<int, Endpoint> endpoints_;
    std::vector<int> openAttempts_;
    std::vector<std::pair<int, std::vector<std::uint8_t>>> writeLog_;
};

}  // namespace quelt::sim

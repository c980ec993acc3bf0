#pragma once
// Monotonic time and sleeping, injected wherever the device link waits, so a 20-second reply
// limit is tested in microseconds with a fake clock.
#include <cstdint>

namespace quelt {

class Clock {
  public:
    virtual ~Clock() = default;
    // Monotonic time in microseconds from an arbitrary origin.
    virtual std::int64_t nowMicros() = 0;
    virtual void sleepMs(std::uint32_t ms) = 0;
};

// The process's real clock (steady_clock based; one instance, safe from any thread).
Clock& systemClock();

}  // namespace quelt

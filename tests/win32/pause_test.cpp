// The Windows clock's pauses last at least what they are asked for, on either timer.
#include "platform/clock/win32/pause.h"

#include <gtest/gtest.h>

#include <chrono>

#include "platform/clock/clock.h"

namespace quelt::win32 {
namespace {

double msSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

TEST(Win32Pause, EachWayLastsAtLeastItsTime) {
    for (std::uint32_t ms : {1u, 5u, 30u}) {
        SCOPED_TRACE(ms);
        auto start = std::chrono::steady_clock::now();
        if (pauseOnHighResolutionTimer(ms)) {
            EXPECT_GE(msSince(start), ms * 0.95);
        }
        start = std::chrono::steady_clock::now();
        pauseWithFineTimerPeriod(ms);
        EXPECT_GE(msSince(start), ms * 0.95);
        start = std::chrono::steady_clock::now();
        const std::int64_t before = systemClock().nowMicros();
        systemClock().sleepMs(ms);
        EXPECT_GE(systemClock().nowMicros() - before, ms * 950);
        EXPECT_GE(msSince(start), ms * 0.95);
    }
}

}  // namespace
}  // namespace quelt::win32

#include <gtest/gtest.h>

#include "platform/clock/clock.h"

namespace quelt {
namespace {

TEST(SteadyClock, IsOneInstanceAndSleepMovesItForward) {
    Clock& clock = systemClock();
    EXPECT_EQ(&clock, &systemClock());
    std::int64_t before = clock.nowMicros();
    clock.sleepMs(3);
    std::int64_t after = clock.nowMicros();
    EXPECT_GE(after - before, 3000);
    clock.sleepMs(0);
    EXPECT_GE(clock.nowMicros(), after);
}

}  // namespace
}  // namespace quelt

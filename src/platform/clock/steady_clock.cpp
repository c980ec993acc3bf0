// The process's real clock on std::chrono::steady_clock.
#include <chrono>
#include <thread>

#include "platform/clock/clock.h"

namespace quelt {
namespace {

class SteadyClock : public Clock {
  public:
    std::int64_t nowMicros() override {
        using namespace std::chrono;
        return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
    }
    void sleepMs(std::uint32_t ms) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
};

}  // namespace

Clock& systemClock() {
    static SteadyClock clock;
    return clock;
}

}  // namespace quelt

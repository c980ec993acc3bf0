// The process's real clock on Windows: the performance counter for time, and pauses on a
// high-resolution timer (or with the timer period lowered to 1 ms where that timer is refused).
#include <windows.h>
// timeBeginPeriod, after windows.h
#include <mmsystem.h>

#include "platform/clock/clock.h"
#include "platform/clock/win32/pause.h"
#include "platform/os/win32/unique_handle.h"

namespace quelt {
namespace win32 {

namespace {

// CREATE_WAITABLE_TIMER_HIGH_RESOLUTION (Windows 10 1803); older headers lack the name.
constexpr DWORD kHighResolutionTimer = 0x00000002;
constexpr std::int64_t kHundredNanosPerMs = 10'000;

}  // namespace

bool pauseOnHighResolutionTimer(std::uint32_t ms) {
    UniqueHandle timer(CreateWaitableTimerExW(nullptr, nullptr, kHighResolutionTimer,
                                              TIMER_MODIFY_STATE | SYNCHRONIZE));
    if (!timer.valid()) {
        return false;
    }
    LARGE_INTEGER due;
    due.QuadPart = -static_cast<std::int64_t>(ms) * kHundredNanosPerMs;  // relative
    if (!SetWaitableTimer(timer.get(), &due, 0, nullptr, nullptr, FALSE)) {
        return false;
    }
    return WaitForSingleObject(timer.get(), INFINITE) == WAIT_OBJECT_0;
}

void pauseWithFineTimerPeriod(std::uint32_t ms) {
    const bool fine = timeBeginPeriod(1) == TIMERR_NOERROR;
    Sleep(ms);
    if (fine) {
        timeEndPeriod(1);
    }
}

namespace {

class PerformanceCounterClock : public Clock {
  public:
    PerformanceCounterClock() { QueryPerformanceFrequency(&frequency_); }

    std::int64_t nowMicros() override {
        LARGE_INTEGER counter;
        QueryPerformanceCounter(&counter);
        const std::int64_t f = frequency_.QuadPart;
        // In two parts, so that counter × 10^6 cannot overflow.
        return counter.QuadPart / f * 1'000'000 + counter.QuadPart % f * 1'000'000 / f;
    }
    void sleepMs(std::uint32_t ms) override {
        if (ms > 0 && !pauseOnHighResolutionTimer(ms)) {
            pauseWithFineTimerPeriod(ms);
        }
    }

  private:
    LARGE_INTEGER frequency_{};
};

}  // namespace
}  // namespace win32

Clock& systemClock() {
    static win32::PerformanceCounterClock clock;
    return clock;
}

}  // namespace quelt

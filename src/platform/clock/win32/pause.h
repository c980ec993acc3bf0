#pragma once
// Pauses that last what they say on Windows, where the default timer tick is 15.6 ms and a plain
// Sleep(1) can last a whole tick.
#include <cstdint>

namespace quelt::win32 {

// Waits `ms` on a high-resolution waitable timer. false when the system refuses such a timer
// (before Windows 10 1803); nothing was waited then.
bool pauseOnHighResolutionTimer(std::uint32_t ms);

// Sleeps `ms` with the system timer set to 1 ms for the length of the pause.
void pauseWithFineTimerPeriod(std::uint32_t ms);

}  // namespace quelt::win32

#pragma once
// Process-wide flags shared by the panel, the operation worker and the keyboard shortcuts.
#include <atomic>
#include <cstdint>

namespace quelt {

inline std::atomic<std::int32_t> workerBusy{0};        // an operation worker runs
inline std::atomic<std::int32_t> patternActive{0};     // a pattern switch has a pattern on
inline std::atomic<std::int32_t> escapeInProgress{0};  // the Esc handler runs
inline std::atomic<std::int32_t> shortcutsEnabled{0};  // the panel is connected

// Back to the start-of-process values (tests).
inline void resetProcessFlags() {
    workerBusy = 0;
    patternActive = 0;
    escapeInProgress = 0;
    shortcutsEnabled = 0;
}

}  // namespace quelt

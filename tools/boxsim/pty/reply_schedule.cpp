#include "tools/boxsim/pty/reply_schedule.h"

#include <algorithm>

namespace quelt::sim {

void ReplySchedule::add(std::int64_t nowMicros, std::vector<ReplyChunk> chunks) {
    for (ReplyChunk& chunk : chunks) {
        std::int64_t due = nowMicros + static_cast<std::int64_t>(chunk.delayMs) * 1000;
        if (!queue_.empty()) {
            due = std::max(due, queue_.back().dueMicros);
        }
        queue_.push_back({due, std::move(chunk.bytes)});
    }
}

void ReplySchedule::takeDue(std::int64_t nowMicros, std::vector<std::uint8_t>& out) {
    while (!queue_.empty() && queue_.front().dueMicros <= nowMicros) {
        out.insert(out.end(), queue_.front().bytes.begin(), queue_.front().bytes.end());
        queue_.pop_front();
    }
}

std::int64_t ReplySchedule::nextDueMicros() const {
    return queue_.empty() ? -1 : queue_.front().dueMicros;
}

}  // namespace quelt::sim

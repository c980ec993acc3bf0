#pragma once
// Replies of one simulated box waiting for their time, and the bytes ready to go out.
#include <cstdint>
#include <deque>
#include <vector>

#include "tools/boxsim/box_model.h"

namespace quelt::sim {

class ReplySchedule {
  public:
    // Queues the chunks answering a request received at `nowMicros`. A chunk never overtakes
    // one queued before it, so the bytes leave in the order the box produced them.
    void add(std::int64_t nowMicros, std::vector<ReplyChunk> chunks);
    // Moves every chunk due at `nowMicros` to the end of `out`.
    void takeDue(std::int64_t nowMicros, std::vector<std::uint8_t>& out);
    // Time of the earliest waiting chunk; -1 when nothing waits.
    std::int64_t nextDueMicros() const;
    bool empty() const { return queue_.empty(); }

  private:
    struct Entry {
        std::int64_t dueMicros;
        std::vector<std::uint8_t> bytes;
    };
    std::deque<Entry> queue_;
};

}  // namespace quelt::sim

#pragma once
// The pty simulator: one BoxModel per pseudo-terminal, an event loop that feeds received bytes
// to the models and sends their replies when due, and the request log.
#include <atomic>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/clock/clock.h"
#include "tools/boxsim/box_model.h"
#include "tools/boxsim/pty/pty_endpoint.h"
#include "tools/boxsim/pty/reply_schedule.h"
#include "tools/boxsim/pty/sim_options.h"

namespace quelt::sim {

class Simulator {
  public:
    Simulator(Clock& clock, std::FILE* log) : clock_(clock), log_(log) {}
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // Creates every pty and link. 0 with `error` set on failure (links made so far are removed
    // when the simulator is destroyed).
    int start(const SimOptions& options, std::string& error);
    // Serves the boxes until `stop` becomes true. Signals that should end the loop must be
    // blocked by the caller; they are let through only while the loop waits (ppoll).
    int run(const std::atomic<bool>& stop);

  private:
    struct Box {
        std::unique_ptr<PtyEndpoint> pty;
        std::unique_ptr<BoxModel> model;
        ReplySchedule schedule;
        std::vector<std::uint8_t> outgoing;
        std::size_t logged = 0;
    };

    void serveInput(Box& box);
    void flushOutgoing(Box& box);
    int pollTimeoutMs() const;

    Clock& clock_;
    std::FILE* log_;
    std::vector<Box> boxes_;
};

}  // namespace quelt::sim

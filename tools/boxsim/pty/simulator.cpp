#include "tools/boxsim/pty/simulator.h"

#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

namespace quelt::sim {

int Simulator::start(const SimOptions& options, std::string& error) {
    std::error_code ec;
    std::filesystem::create_directories(options.portDir, ec);
    for (const BoxConfig& config : options.boxes) {
        Box box;
        box.pty = PtyEndpoint::create(options.portDir, config.com, error);
        if (!box.pty) {
            return 0;
        }
        box.model = std::make_unique<BoxModel>(config);
        boxes_.push_back(std::move(box));
    }
    return 1;
}

void Simulator::serveInput(Box& box) {
    std::uint8_t buf[512];
    for (;;) {
        ssize_t n = ::read(box.pty->masterFd(), buf, sizeof buf);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return;
        }
        std::int64_t now = clock_.nowMicros();
        box.schedule.add(now, box.model->receive(buf, static_cast<std::size_t>(n)));
        const auto& requests = box.model->requests();
        for (; box.logged < requests.size(); ++box.logged) {
            if (log_ != nullptr) {
                std::string line = requestJson(box.model->config().com, requests[box.logged]);
                std::fputs(line.c_str(), log_);
                std::fputc('\n', log_);
                std::fflush(log_);
            }
        }
    }
}

void Simulator::flushOutgoing(Box& box) {
    box.schedule.takeDue(clock_.nowMicros(), box.outgoing);
    while (!box.outgoing.empty()) {
        ssize_t n = ::write(box.pty->masterFd(), box.outgoing.data(), box.outgoing.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return;  // the port's buffer is full; poll tells when it drains
        }
        box.outgoing.erase(box.outgoing.begin(), box.outgoing.begin() + n);
    }
}

int Simulator::pollTimeoutMs() const {
    std::int64_t next = -1;
    for (const Box& box : boxes_) {
        std::int64_t due = box.schedule.nextDueMicros();
        if (due >= 0 && (next < 0 || due < next)) {
            next = due;
        }
    }
    if (next < 0) {
        return -1;
    }
    std::int64_t waitMicros = next - clock_.nowMicros();
    if (waitMicros <= 0) {
        return 0;
    }
    return static_cast<int>(std::min<std::int64_t>((waitMicros + 999) / 1000, 60'000));
}

int Simulator::run(const std::atomic<bool>& stop) {
    sigset_t waitMask;
    ::sigemptyset(&waitMask);
    std::vector<pollfd> fds(boxes_.size());
    while (!stop) {
        for (std::size_t i = 0; i < boxes_.size(); ++i) {
            fds[i].fd = boxes_[i].pty->masterFd();
            fds[i].events = static_cast<short>(POLLIN | (boxes_[i].outgoing.empty() ? 0 : POLLOUT));
            fds[i].revents = 0;
        }
        int timeoutMs = pollTimeoutMs();
        timespec ts{timeoutMs / 1000, static_cast<long>(timeoutMs % 1000) * 1'000'000};
        int r = ::ppoll(fds.data(), fds.size(), timeoutMs < 0 ? nullptr : &ts, &waitMask);
        if (r < 0 && errno != EINTR) {
            return 0;
        }
        for (std::size_t i = 0; i < boxes_.size(); ++i) {
            if (r > 0 && (fds[i].revents & POLLIN) != 0) {
                serveInput(boxes_[i]);
            }
            flushOutgoing(boxes_[i]);
        }
    }
    return 1;
}

}  // namespace quelt::sim

// quelt-boxsim on pseudo-terminals for the device benchmark, stopped by PID when done.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "bench/device/bench_host.h"

extern char** environ;

namespace quelt::bench {
namespace {

namespace fs = std::filesystem;

class Simulator : public BoxServer {
  public:
    explicit Simulator(const std::vector<std::string>& boxes) {
        char tmpl[] = "/tmp/quelt-bench-XXXXXX";
        if (::mkdtemp(tmpl) == nullptr) {
            return;
        }
        dir_ = tmpl;
        const fs::path ports = dir_ / "ports";
        std::vector<std::string> args = {QUELT_BOXSIM_PATH, "--port-dir", ports.string()};
        for (const std::string& box : boxes) {
            args.push_back("--box");
            args.push_back(box);
        }
        std::vector<char*> argv;
        for (std::string& a : args) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        int out[2];
        if (::pipe2(out, O_CLOEXEC) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        ::posix_spawn_file_actions_init(&actions);
        ::posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        ::posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        if (::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
            pid_ = -1;
        }
        ::posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        std::string seen;
        char buf[64];
        pollfd p{out[0], POLLIN, 0};
        while (pid_ > 0 && seen.find("ready\n") == std::string::npos && ::poll(&p, 1, 10000) > 0) {
            const ssize_t n = ::read(out[0], buf, sizeof buf);
            if (n <= 0) {
                break;
            }
            seen.append(buf, static_cast<std::size_t>(n));
        }
        ready_ = seen.find("ready\n") != std::string::npos;
        ::close(out[0]);
        ::setenv("QUELT_PORT_DIR", ports.c_str(), 1);
    }
    ~Simulator() override {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;
    bool ready() const override { return ready_; }

  private:
    fs::path dir_;
    pid_t pid_ = -1;
    bool ready_ = false;
};

}  // namespace

std::unique_ptr<BoxServer> serveBoxes(const std::vector<std::string>& boxes) {
    return std::make_unique<Simulator>(boxes);
}

double processCpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

}  // namespace quelt::bench

#include "support/boxsim_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

extern char** environ;

namespace quelt::test {

BoxsimProcess::BoxsimProcess(const std::string& program, const std::string& portDir,
                             const std::vector<std::string>& boxes, const Options& options) {
    std::vector<std::string> args = {program, "--port-dir", portDir};
    if (!options.log.empty()) {
        args.insert(args.end(), {"--log", options.log});
    }
    for (const std::string& box : boxes) {
        args.insert(args.end(), {"--box", box});
    }
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) {
        return;
    }
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    if (options.quiet) {
        ::posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    }
    if (::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        pid_ = -1;
    }
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    stdout_ = out[0];
}

BoxsimProcess::~BoxsimProcess() {
    stop();
    if (stdout_ >= 0) {
        ::close(stdout_);
    }
}

bool BoxsimProcess::waitReady(int seconds) {
    std::string seen;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (pid_ > 0 && stdout_ >= 0 && std::chrono::steady_clock::now() < until) {
        pollfd readable{stdout_, POLLIN, 0};
        if (::poll(&readable, 1, 100) <= 0) {
            continue;
        }
        char buffer[64];
        const ssize_t count = ::read(stdout_, buffer, sizeof buffer);
        if (count <= 0) {
            return false;  // ended before it was ready
        }
        seen.append(buffer, static_cast<std::size_t>(count));
        if (seen.find("ready\n") != std::string::npos) {
            return true;
        }
    }
    return false;
}

void BoxsimProcess::kill() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
}

int BoxsimProcess::stop() {
    if (pid_ <= 0) {
        return exit_;
    }
    ::kill(pid_, SIGTERM);
    int status = 0;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (::waitpid(pid_, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > until) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, &status, 0);
            break;
        }
        ::usleep(2000);
    }
    pid_ = -1;
    exit_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return exit_;
}

}  // namespace quelt::test

#include "bench/common/boxsim_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace quelt::bench {

BoxsimProcess::BoxsimProcess(const std::string& program, const std::string& portDir,
                             const std::vector<std::string>& boxes) {
    std::vector<std::string> args = {program, "--port-dir", portDir};
    for (const std::string& box : boxes) {
        args.push_back("--box");
        args.push_back(box);
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
    ::posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    if (::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        pid_ = -1;
    }
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    std::string seen;
    char buffer[64];
    pollfd readable{out[0], POLLIN, 0};
    while (pid_ > 0 && seen.find("ready\n") == std::string::npos &&
           ::poll(&readable, 1, 10000) > 0) {
        const ssize_t count = ::read(out[0], buffer, sizeof buffer);
        if (count <= 0) {
            break;
        }
        seen.append(buffer, static_cast<std::size_t>(count));
    }
    ready_ = seen.find("ready\n") != std::string::npos;
    ::close(out[0]);
}

BoxsimProcess::~BoxsimProcess() {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
}

}  // namespace quelt::bench

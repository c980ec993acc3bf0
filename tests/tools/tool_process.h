#pragma once
// Running the real tools from a test: the simulator as a guarded background process (killed by
// PID when the guard goes), the command-line tool to completion with its output captured.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "support/boxsim_process.h"

extern char** environ;

namespace quelt::testing {

namespace fs = std::filesystem;

// A fresh folder under /tmp, removed with everything in it.
class TempDir {
  public:
    TempDir() {
        char tmpl[] = "/tmp/quelt-tools-XXXXXX";
        if (::mkdtemp(tmpl) != nullptr) {
            path_ = tmpl;
        }
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

inline std::string readFile(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

inline std::vector<std::string> readLines(const fs::path& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// The lines of a log that another process is still writing: waits (bounded) for at least
// `count` of them. The simulator logs a request when it reads it, which can be a moment after
// the sender has exited.
inline std::vector<std::string> waitForLines(const fs::path& path, std::size_t count) {
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    std::vector<std::string> lines = readLines(path);
    while (lines.size() < count && std::chrono::steady_clock::now() < until) {
        ::usleep(2000);
        lines = readLines(path);
    }
    return lines;
}

inline std::vector<char*> argvOf(std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    return argv;
}

// quelt-boxsim running in the background, with its request log, until the guard is destroyed.
class SimulatorProcess : public test::BoxsimProcess {
  public:
    SimulatorProcess(const fs::path& portDir, const std::vector<std::string>& boxes,
                     const fs::path& log)
        : BoxsimProcess(QUELT_BOXSIM_PATH, portDir.string(), boxes, {log.string()}) {}
};

struct CliResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// quelt-cli started with QUELT_PORT_DIR set to `portDir` (unless it is empty) and `moreEnv`, its
// output going to files in `scratch`; `finish` waits for it. `runAs` words go before it (for
// example setpriv and its options).
class CliProcess {
  public:
    CliProcess(const fs::path& portDir, const fs::path& scratch, std::vector<std::string> args,
               std::vector<std::string> moreEnv = {}, std::vector<std::string> runAs = {})
        : outPath_(scratch / "cli.out"), errPath_(scratch / "cli.err") {
        args.insert(args.begin(), QUELT_CLI_PATH);
        args.insert(args.begin(), runAs.begin(), runAs.end());
        std::vector<std::string> env = std::move(moreEnv);
        env.push_back("PATH=/usr/bin:/bin");
        if (!portDir.empty()) {
            env.push_back("QUELT_PORT_DIR=" + portDir.string());
        }
        posix_spawn_file_actions_t actions;
        ::posix_spawn_file_actions_init(&actions);
        ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath_.c_str(),
                                           O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath_.c_str(),
                                           O_WRONLY | O_CREAT | O_TRUNC, 0600);
        auto argv = argvOf(args);
        auto envp = argvOf(env);
        if (::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) {
            pid_ = -1;
        }
        ::posix_spawn_file_actions_destroy(&actions);
    }
    ~CliProcess() { finish(); }
    CliProcess(const CliProcess&) = delete;
    CliProcess& operator=(const CliProcess&) = delete;

    void signal(int signalNumber) const {
        if (pid_ > 0) {
            ::kill(pid_, signalNumber);
        }
    }

    CliResult finish() {
        if (pid_ > 0) {
            int status = 0;
            ::waitpid(pid_, &status, 0);
            result_.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            result_.out = readFile(outPath_);
            result_.err = readFile(errPath_);
            pid_ = -1;
        }
        return result_;
    }

  private:
    fs::path outPath_;
    fs::path errPath_;
    pid_t pid_ = -1;
    CliResult result_;
};

// Runs quelt-cli with QUELT_PORT_DIR set to `portDir` and waits for it.
inline CliResult runCli(const fs::path& portDir, const fs::path& scratch,
                        std::vector<std::string> args) {
    return CliProcess(portDir, scratch, std::move(args)).finish();
}

// A test with its own folder: the simulator's ports and request log, and the CLI's output.
class ToolsTest : public ::testing::Test {
  protected:
    void startSimulator(const std::vector<std::string>& boxes) {
        ASSERT_FALSE(dir_.path().empty());
        sim_ = std::make_unique<SimulatorProcess>(ports(), boxes, log());
        ASSERT_TRUE(sim_->waitReady());
    }
    CliResult cli(std::vector<std::string> args) {
        return runCli(ports(), dir_.path(), std::move(args));
    }
    fs::path ports() const { return dir_.path() / "ports"; }
    fs::path log() const { return dir_.path() / "requests.jsonl"; }

    TempDir dir_;
    std::unique_ptr<SimulatorProcess> sim_;  // declared last: stopped before the folder goes
};

// The simulator's log line of a status request on `com`.
inline std::string status(int com) {
    return "{\"com\":" + std::to_string(com) + ",\"kind\":\"status\"}";
}

}  // namespace quelt::testing

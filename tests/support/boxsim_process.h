#pragma once
// quelt-boxsim as a child process on real pseudo-terminals (Linux), for the tools tests and the
// programs that measure the device link: started with its boxes (and a request log when asked),
// stopped by its process id when the object goes.
#include <sys/types.h>

#include <string>
#include <vector>

namespace quelt::test {

class BoxsimProcess {
  public:
    struct Options {
        std::string log;     // --log FILE, when not empty
        bool quiet = false;  // its standard error to /dev/null
    };
    // `boxes`: "COM:FW:ID" specs as quelt-boxsim takes them; the ports appear in `portDir`.
    BoxsimProcess(const std::string& program, const std::string& portDir,
                  const std::vector<std::string>& boxes, const Options& options);
    ~BoxsimProcess();
    BoxsimProcess(const BoxsimProcess&) = delete;
    BoxsimProcess& operator=(const BoxsimProcess&) = delete;

    // Waits (bounded) for its "ready" line; false when it ends or stays silent.
    bool waitReady(int seconds = 10);
    // Killed outright, as a crash would end it: the ports hang up and their links stay behind.
    void kill();
    // SIGTERM, then SIGKILL if it does not end within 5 s. Returns the exit status (-1: killed).
    int stop();
    pid_t pid() const { return pid_; }

  private:
    pid_t pid_ = -1;
    int stdout_ = -1;
    int exit_ = -1;
};

}  // namespace quelt::test

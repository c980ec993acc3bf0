#pragma once
// quelt-boxsim as a child process for the programs that measure the device link on real
// pseudo-terminals (Linux): started with its boxes, waited for until it prints "ready", stopped
// by its process id when the object goes.
#include <sys/types.h>

#include <string>
#include <vector>

namespace quelt::bench {

class BoxsimProcess {
  public:
    // `boxes`: "COM:FW:ID" specs as quelt-boxsim takes them; the ports appear in `portDir`.
    BoxsimProcess(const std::string& program, const std::string& portDir,
                  const std::vector<std::string>& boxes);
    ~BoxsimProcess();
    BoxsimProcess(const BoxsimProcess&) = delete;
    BoxsimProcess& operator=(const BoxsimProcess&) = delete;

    bool ready() const { return ready_; }
    pid_t pid() const { return pid_; }

  private:
    pid_t pid_ = -1;
    bool ready_ = false;
};

}  // namespace quelt::bench

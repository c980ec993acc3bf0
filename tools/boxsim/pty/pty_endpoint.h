#pragma once
// One pseudo-terminal standing in for a box's serial port: the master side that the simulator
// reads and writes, a slave descriptor held open so the port can be opened and closed by
// clients any number of times, and the DIR/COMn symlink that names it. Removes the link when
// destroyed.
#include <memory>
#include <string>

namespace quelt::sim {

class PtyEndpoint {
  public:
    // Creates the pair (raw mode on both sides) and the link. nullptr with `error` set on failure.
    static std::unique_ptr<PtyEndpoint> create(const std::string& portDir, int com,
                                               std::string& error);
    ~PtyEndpoint();
    PtyEndpoint(const PtyEndpoint&) = delete;
    PtyEndpoint& operator=(const PtyEndpoint&) = delete;

    int masterFd() const { return master_; }
    const std::string& slavePath() const { return slavePath_; }
    const std::string& linkPath() const { return linkPath_; }

  private:
    PtyEndpoint() = default;

    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
    std::string linkPath_;
    bool linked_ = false;
};

}  // namespace quelt::sim

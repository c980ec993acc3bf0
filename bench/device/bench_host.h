#pragma once
// What the device benchmark needs of the machine it runs on: simulated boxes on the ports the
// serial channel opens, and the process's CPU time.
#include <memory>
#include <string>
#include <vector>

namespace quelt::bench {

// Boxes ("COM:FW:ID[:FAULTS]", as quelt-boxsim takes them) on COM ports for one case, gone
// with the object.
class BoxServer {
  public:
    virtual ~BoxServer() = default;
    virtual bool ready() const = 0;
};

// Linux: starts quelt-boxsim on pseudo-terminals and points the channel at them. Windows (under
// wine): the boxes are served from outside (scripts/wine/bench-device.sh), so this only trusts
// that they are there.
std::unique_ptr<BoxServer> serveBoxes(const std::vector<std::string>& boxes);

// CPU time (user + system) this process has used, in seconds.
double processCpuSeconds();

}  // namespace quelt::bench

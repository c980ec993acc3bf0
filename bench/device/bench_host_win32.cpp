// Under wine the simulated boxes run outside the Windows process: scripts/wine/bench-device.sh
// starts quelt-boxsim on the ptys the prefix maps to COM ports before each case.
#include <windows.h>

#include "bench/device/bench_host.h"

namespace quelt::bench {
namespace {

class ServedOutside : public BoxServer {
  public:
    bool ready() const override { return true; }
};

double seconds(const FILETIME& t) {
    ULARGE_INTEGER value;
    value.LowPart = t.dwLowDateTime;
    value.HighPart = t.dwHighDateTime;
    return static_cast<double>(value.QuadPart) / 1e7;  // 100 ns units
}

}  // namespace

std::unique_ptr<BoxServer> serveBoxes(const std::vector<std::string>&) {
    return std::make_unique<ServedOutside>();
}

double processCpuSeconds() {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) {
        return 0;
    }
    return seconds(kernel) + seconds(user);
}

}  // namespace quelt::bench

// quelt-boxsim on pseudo-terminals for the device benchmark, stopped by PID when done.
#include <stdlib.h>
#include <sys/resource.h>

#include <filesystem>
#include <memory>

#include "bench/device/bench_host.h"
#include "support/boxsim_process.h"

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
        process_ = std::make_unique<test::BoxsimProcess>(QUELT_BOXSIM_PATH, ports.string(), boxes,
                                                         test::BoxsimProcess::Options{"", true});
        ready_ = process_->waitReady();
        ::setenv("QUELT_PORT_DIR", ports.c_str(), 1);
    }
    ~Simulator() override {
        process_.reset();  // the simulator goes before its folder
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;
    bool ready() const override { return ready_; }

  private:
    fs::path dir_;
    std::unique_ptr<test::BoxsimProcess> process_;
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

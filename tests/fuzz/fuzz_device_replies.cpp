// Whatever a box sends back, in whatever pieces: discovery, the status read, box selection,
// Apply, the resets and the patterns of the panel's logic run against ports that deliver the
// fuzzer's bytes, and every reply that is taken shows on the panel's controls.
//
// Input: byte 0 says which of COM1..COM8 open (bit n-1 for COM n), byte 1 which operations
// follow discovery; the rest is the byte stream every port reads from, as pieces: a length
// byte (0 to 16 used), then that many bytes. Once the stream is used up, nothing more arrives
// and the clock runs a thousand times faster, so the 20 s reply limits pass quickly.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>

#include "base/ui_strings.h"
#include "device/flags.h"
#include "panel/logic/panel_logic.h"
#include "panel/panel_messages.h"
#include "panel/window/panel_layout.h"

namespace {

using namespace quelt;

class Script {
  public:
    Script(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool done() const { return at_ >= size_; }
    // The next piece, at most `maximum` bytes of it; the rest of a longer piece comes next.
    std::size_t read(std::uint8_t* buffer, std::size_t maximum) {
        if (left_ == 0) {
            if (done()) {
                return 0;
            }
            left_ = data_[at_++] % 17;
        }
        std::size_t count = 0;
        while (count < maximum && left_ > 0 && !done()) {
            buffer[count++] = data_[at_++];
            --left_;
        }
        if (done()) {
            left_ = 0;
        }
        return count;
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
    std::size_t left_ = 0;
};

class ScriptClock : public Clock {
  public:
    explicit ScriptClock(const Script& script) : script_(script) {}
    std::int64_t nowMicros() override { return now_; }
    void sleepMs(std::uint32_t ms) override {
        now_ += static_cast<std::int64_t>(ms) * (script_.done() ? 1'000'000 : 1'000);
    }

  private:
    const Script& script_;
    std::int64_t now_ = 1'000'000;
};

class ScriptPort : public SerialPort {
  public:
    ScriptPort(Script& script, std::uint8_t openMask) : script_(script), openMask_(openMask) {}
    int open(int portNumber) override {
        if (port_ == 0 && portNumber >= 1 && portNumber <= 8 &&
            (openMask_ & (1u << (portNumber - 1))) != 0) {
            port_ = portNumber;
        }
        return port_ != 0 ? 1 : 0;
    }
    int isOpen() const override { return port_ != 0 ? 1 : 0; }
    int write(const std::uint8_t*, std::size_t) override { return port_ != 0 ? 1 : 0; }
    std::size_t readAvailable(std::uint8_t* buffer, std::size_t maximum) override {
        return port_ != 0 ? script_.read(buffer, maximum) : 0;
    }
    void close() override { port_ = 0; }

  private:
    Script& script_;
    std::uint8_t openMask_;
    int port_ = 0;
};

// The panel window as the logic sees it, on one thread: steps run inline, posts are kept for
// the loop below.
class Services : public PanelServices {
  public:
    void redrawPanel() override {}
    void post(std::uint32_t message, std::uintptr_t wParam) override {
        posts.emplace_back(message, wParam);
    }
    void quit(int) override {}
    void centrePanel() override {}
    void showError(int) override {}
    void runOnUiThread(const std::function<void()>& step) override { step(); }
    void removeKeyboardHook() override {}
    void installKeyboardHook() override {}
    std::atomic<std::int32_t>& busyFlag() override { return busy_; }

    std::deque<std::pair<std::uint32_t, std::uintptr_t>> posts;

  private:
    std::atomic<std::int32_t> busy_{0};
};

// Handles the slider messages that showing a frame posts (the buttons would start threads).
void HandlePosts(PanelLogic& logic, Services& services) {
    for (int handled = 0; handled < 64 && !services.posts.empty(); ++handled) {
        const auto [message, wParam] = services.posts.front();
        services.posts.pop_front();
        if (message >= msg::Dp1Slider && message <= msg::VBezelSlider) {
            logic.handle(message, wParam, 0);
        }
    }
    services.posts.clear();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    resetProcessFlags();
    const std::uint8_t openMask = data[0];
    const std::uint8_t operations = data[1];
    Script script(data + 2, size - 2);
    ScriptClock clock(script);
    Services services;
    PanelControls controls;
    // The layout without images: every rectangle, stop and text as the panel builds them.
    createPanelControls(controls, "/nonexistent-quelt-fuzz-skin/", uiStrings());
    PanelLogic logic(controls, services, clock, [&script, openMask] {
        return std::make_unique<ScriptPort>(script, openMask);
    });
    logic.prepare("/nonexistent-quelt-fuzz-skin/");
    HandlePosts(logic, services);

    DeviceLink& link = logic.link;
    link.syncToAll = (operations & 0x80) != 0 ? 1 : 0;
    if (link.discoverBoxes() == 1) {
        HandlePosts(logic, services);
        if ((operations & 0x01) != 0) {
            link.selectBox((operations >> 4) % 7);
            HandlePosts(logic, services);
        }
        if ((operations & 0x02) != 0) {
            link.runOperation(4, OperationKind::Apply);
            HandlePosts(logic, services);
        }
        if ((operations & 0x04) != 0) {
            link.runOperation(2, OperationKind::SoftwareReset);
            HandlePosts(logic, services);
        }
        if ((operations & 0x08) != 0) {
            link.patternOnFromSwitch(DeviceCommand::RgbwPatternOn);
            link.patternOnBox((operations >> 4) % 7, DeviceCommand::PatternOn);
            link.patternOffFromSwitch();
            link.allPatternsOff();
        }
    }
    link.closeAllBoxes();
    HandlePosts(logic, services);
    return 0;
}

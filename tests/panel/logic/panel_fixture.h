#pragma once
// A panel without a window: the control records built minimally (no images), a fake panel
// window that records what the logic asks of it and runs a message pump on the test thread (the
// "UI thread"), and the panel logic with its device link on simulated boxes.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "base/ui_strings.h"
#include "device/flags.h"
#include "panel/logic/control_state.h"
#include "panel/logic/panel_enablement.h"
#include "panel/logic/panel_logic.h"
#include "panel/panel_messages.h"
#include "tools/boxsim/in_memory_port.h"

namespace quelt::testing {

using Bytes = std::vector<std::uint8_t>;

struct Post {
    std::uint32_t message;
    std::uintptr_t wParam;
    bool operator==(const Post&) const = default;
};

class FakePanelWindow : public PanelServices {
  public:
    void redrawPanel() override {
        checkUiThread();
        ++redraws;
        if (onRedraw) {
            onRedraw();
        }
    }
    void post(std::uint32_t message, std::uintptr_t wParam) override {
        std::lock_guard<std::mutex> lock(mutex_);
        queue_.push_back(Post{message, wParam});
        postLog_.push_back(Post{message, wParam});
    }
    void quit(int exitCode) override { quitCodes.push_back(exitCode); }
    void centrePanel() override { ++centres; }
    void showError(int errorIndex) override {
        checkUiThread();
        errors.push_back(errorIndex);
    }
    // Steps from another thread wait until the UI thread pumps them.
    void runOnUiThread(const std::function<void()>& step) override {
        if (std::this_thread::get_id() == uiThread_) {
            step();
            return;
        }
        std::unique_lock<std::mutex> lock(mutex_);
        PendingStep pending{&step};
        steps_.push_back(&pending);
        wake_.notify_all();
        wake_.wait(lock, [&] { return pending.done; });
    }
    void removeKeyboardHook() override { ++hookRemovals; }
    void installKeyboardHook() override { ++hookInstalls; }
    std::atomic<std::int32_t>& busyFlag() override { return busy_; }

    // Runs the steps handed over by other threads; waits up to `waitMs` for the first one.
    int runSteps(int waitMs) {
        std::vector<PendingStep*> steps;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait_for(lock, std::chrono::milliseconds(waitMs),
                           [&] { return !steps_.empty(); });
            steps.assign(steps_.begin(), steps_.end());
            steps_.clear();
        }
        for (PendingStep* pending : steps) {
            (*pending->step)();
            std::lock_guard<std::mutex> lock(mutex_);
            pending->done = true;
        }
        if (!steps.empty()) {
            wake_.notify_all();
        }
        return static_cast<int>(steps.size());
    }
    // Steps handed over by other threads and not run yet; waits up to `waitMs` for one.
    std::size_t pendingSteps(int waitMs) {
        std::unique_lock<std::mutex> lock(mutex_);
        wake_.wait_for(lock, std::chrono::milliseconds(waitMs), [&] { return !steps_.empty(); });
        return steps_.size();
    }
    // Takes the queued posts (FIFO).
    std::vector<Post> takeQueue() {
        std::lock_guard<std::mutex> lock(mutex_);
        std::vector<Post> posts(queue_.begin(), queue_.end());
        queue_.clear();
        return posts;
    }
    std::vector<Post> postLog() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return postLog_;
    }
    void clearLog() {
        std::lock_guard<std::mutex> lock(mutex_);
        postLog_.clear();
        errors.clear();
        redraws = 0;
    }

    int redraws = 0;
    int centres = 0;
    int hookInstalls = 0;
    int hookRemovals = 0;
    std::vector<int> errors;
    std::vector<int> quitCodes;
    std::atomic<int> offUiThreadCalls{0};
    std::function<void()> onRedraw;

  private:
    struct PendingStep {
        const std::function<void()>* step;
        bool done = false;
    };
    void checkUiThread() {
        if (std::this_thread::get_id() != uiThread_) {
            ++offUiThreadCalls;
        }
    }

    std::thread::id uiThread_ = std::this_thread::get_id();
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<PendingStep*> steps_;
    std::deque<Post> queue_;
    std::vector<Post> postLog_;
    std::atomic<std::int32_t> busy_{0};
};

// The control records as the layout creates them, without images.
void buildPanelControls(PanelControls& controls);

// A box's settings bytes 4-14 (rest zero).
struct BoxSettings {
    std::uint32_t flags = 0;
    std::uint8_t resolutionDp1 = 0;
    std::uint8_t resolutionDp2 = 0;
    std::uint8_t hLimit = 50;
    std::uint8_t vLimit = 15;
    std::uint8_t hBezel = 0;
    std::uint8_t vBezel = 0;
};

class PanelTest : public ::testing::Test {
  protected:
    PanelTest() {
        resetProcessFlags();
        buildPanelControls(controls);
        logic.prepare("no-such-skin/");
        pump();
        window.clearLog();
    }
    ~PanelTest() override {
        // A worker left behind by a failed test still needs the UI thread to end.
        for (int i = 0; i < 4000 && logic.operationInFlight(); ++i) {
            window.runSteps(5);
        }
        logic.link.waitForWorkers();
        resetProcessFlags();
    }

    sim::BoxModel& addBox(int com, std::uint8_t boxId, const BoxSettings& s = {},
                          const std::string& faults = "") {
        sim::BoxConfig config;
        config.com = com;
        config.boxId = boxId;
        config.firmware = static_cast<std::uint8_t>(20 + com);
        config.settings.setFlags(s.flags);
        config.settings[frame_offset::resolutionDp1] = s.resolutionDp1;
        config.settings[frame_offset::resolutionDp2] = s.resolutionDp2;
        config.settings[frame_offset::hLimit] = s.hLimit;
        config.settings[frame_offset::vLimit] = s.vLimit;
        config.settings[frame_offset::hBezel] = s.hBezel;
        config.settings[frame_offset::vBezel] = s.vBezel;
        config.faults = *sim::parseFaults(faults);
        return bus.addBox(config);
    }
    void setFaults(int com, const std::string& faults) {
        bus.box(com)->setFaults(*sim::parseFaults(faults));
    }

    // Dispatches queued messages (and anything they post) and pending UI steps until quiet.
    void pump() {
        for (int round = 0; round < 1000; ++round) {
            const int steps = window.runSteps(0);
            const std::vector<Post> posts = window.takeQueue();
            for (const Post& p : posts) {
                logic.handle(p.message, p.wParam, 0);
            }
            if (steps == 0 && posts.empty()) {
                return;
            }
        }
        ADD_FAILURE() << "the panel never became quiet";
    }
    // As the pointer input does: the control's state is already changed, it becomes pending and
    // posts; then the queue is pumped.
    void send(std::uint32_t message, std::uintptr_t wParam) {
        window.post(message, wParam);
        pump();
    }
    // Pumps the UI thread until the operation started from the panel has finished.
    void finishOperation() {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (logic.operationInFlight()) {
            window.runSteps(5);
            ASSERT_LT(std::chrono::steady_clock::now(), limit) << "operation never finished";
        }
        logic.link.waitForWorkers();
        pump();
    }
    void clickSwitch(int index) {
        SkinSwitch& s = controls.switches[static_cast<std::size_t>(index)];
        s.state = s.state == 0 ? 1 : 0;
        s.pending = 1;
        send(msg::SerialComSwitch + static_cast<std::uint32_t>(index),
             static_cast<std::uintptr_t>(index));
    }
    void connect() {
        clickSwitch(ctl::kSerialComSwitch);
        ASSERT_GT(logic.link.boxCount(), 0);
        bus.clearWrites();
        window.clearLog();
    }
    void clickButton(std::uint32_t message, int index) {
        controls.buttons[static_cast<std::size_t>(index)].pending = 1;
        send(message, static_cast<std::uintptr_t>(index));
    }
    void apply() {
        clickButton(msg::ApplyButton, ctl::kApplyButton);
        finishOperation();
    }
    // Command codes of the 16-byte frames written to `com` (the status byte shows as 0xFF).
    std::vector<int> sentCodes(int com) const {
        std::vector<int> codes;
        for (const Bytes& write : bus.writes(com)) {
            if (write.size() == kFrameSize || write == Bytes{kStatusRequest}) {
                codes.push_back(write[0]);
            }
        }
        return codes;
    }
    std::vector<Bytes> sentFrames(int com) const {
        std::vector<Bytes> frames;
        for (const Bytes& write : bus.writes(com)) {
            if (write.size() == kFrameSize) {
                frames.push_back(write);
            }
        }
        return frames;
    }
    DeviceFrame working() const { return logic.link.workingFrame(); }
    std::vector<std::uint32_t> postedMessages() const {
        std::vector<std::uint32_t> messages;
        for (const Post& p : window.postLog()) {
            messages.push_back(p.message);
        }
        return messages;
    }

    PanelControls controls;
    FakePanelWindow window;
    sim::FakeClock clock;
    sim::InMemoryBus bus{clock};
    PanelLogic logic{controls, window, clock, bus.factory()};
};

inline constexpr int kStatus = 0xFF;
inline constexpr int kApplySettings = 0;
inline constexpr int kSetBoxId = 8;
inline constexpr int kFinishApply = 100;

}  // namespace quelt::testing

#pragma once
// A device link wired to simulated boxes on the in-memory bus, with a sink that records what
// the operations ask of the panel.
#include <gtest/gtest.h>

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "device/device_link.h"
#include "device/flags.h"
#include "tools/boxsim/in_memory_port.h"

namespace quelt::testing {

using Bytes = std::vector<std::uint8_t>;

class RecordingSink : public PanelSink {
  public:
    void setPanelEnabled(bool enable) override { record("enabled:" + std::to_string(enable)); }
    void showBoxEntry(int index, bool selected, const std::string& infoText) override {
        record("show:" + std::to_string(index) + ":" + std::to_string(selected) + ":" + infoText);
    }
    void hideBoxEntry(int index) override { record("hide:" + std::to_string(index)); }
    void setBoxInfoText(int index, const std::string& infoText) override {
        record("info:" + std::to_string(index) + ":" + infoText);
    }
    void framesToPanel(const DeviceFrame& frame) override {
        record("frames");
        std::lock_guard<std::mutex> lock(mutex_);
        shownFrames_.push_back(frame);
    }
    void panelToFrame(DeviceFrame& frame) override {
        record("panelToFrame");
        if (onPanelToFrame) {
            onPanelToFrame(frame);
        }
    }
    void updateBezelEnable(const DeviceFrame&) override { record("bezelEnable"); }
    void updateResolutionEnable(const DeviceFrame&) override { record("resolutionEnable"); }
    void redrawPanel() override { record("redraw"); }
    void showError(int errorIndex) override { record("error:" + std::to_string(errorIndex)); }
    void setBusy(bool busy) override {
        record("busy:" + std::to_string(busy));
        if (busy && onBusy) {
            onBusy();
        }
    }
    void releaseButton(int buttonIndex) override {
        record("release:" + std::to_string(buttonIndex));
    }

    std::vector<std::string> events() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return events_;
    }
    // Only the events starting with `prefix`.
    std::vector<std::string> events(const std::string& prefix) const {
        std::vector<std::string> matching;
        for (const std::string& e : events()) {
            if (e.rfind(prefix, 0) == 0) {
                matching.push_back(e);
            }
        }
        return matching;
    }
    std::vector<DeviceFrame> shownFrames() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return shownFrames_;
    }
    void clear() {
        std::lock_guard<std::mutex> lock(mutex_);
        events_.clear();
        shownFrames_.clear();
    }

    // Set before the operation starts; called on the operation's thread.
    std::function<void(DeviceFrame&)> onPanelToFrame;
    std::function<void()> onBusy;

  private:
    void record(std::string event) {
        std::lock_guard<std::mutex> lock(mutex_);
        events_.push_back(std::move(event));
    }
    mutable std::mutex mutex_;
    std::vector<std::string> events_;
    std::vector<DeviceFrame> shownFrames_;
};

class LinkTest : public ::testing::Test {
  protected:
    LinkTest() { resetProcessFlags(); }
    ~LinkTest() override { resetProcessFlags(); }

    sim::BoxModel& addBox(int com, std::uint8_t boxId, const std::string& faults = "") {
        sim::BoxConfig config;
        config.com = com;
        config.boxId = boxId;
        config.firmware = static_cast<std::uint8_t>(10 + com);
        config.settings[frame_offset::resolutionDp1] = static_cast<std::uint8_t>(com);
        config.faults = *sim::parseFaults(faults);
        return bus.addBox(config);
    }
    // Discovers the boxes added so far and forgets what that wrote and recorded.
    void connect() {
        ASSERT_EQ(link.discoverBoxes(), 1);
        bus.clearWrites();
        sink.clear();
    }
    void setFaults(int com, const std::string& faults) {
        bus.box(com)->setFaults(*sim::parseFaults(faults));
    }
    std::int64_t elapsedMs(std::int64_t sinceMicros) {
        return (clock.nowMicros() - sinceMicros) / 1000;
    }

    sim::FakeClock clock;
    sim::InMemoryBus bus{clock};
    RecordingSink sink;
    DeviceLink link{sink, clock, bus.factory()};
};

// The status reply a simulated box gives now.
inline DeviceFrame statusOf(const sim::BoxModel& box) {
    DeviceFrame frame = box.settings();
    frame[frame_offset::code] = kStatusRequest;
    frame[1] = kMarkerT;
    frame[frame_offset::firmware] = box.config().firmware;
    frame[frame_offset::boxId] = box.boxId();
    frame[frame_offset::endMark] = kEndMark;
    return frame;
}

inline const Bytes kStatusByte{kStatusRequest};

// The command code of a 16-byte write, or -1 for anything else.
inline int commandCode(const Bytes& write) {
    return write.size() == kFrameSize ? write[0] : -1;
}

}  // namespace quelt::testing

#pragma once
// The device state of the panel: the three frames, the box table, the exchanges with the current
// box, discovery, the composite device operations and the operation worker.
#include <array>
#include <atomic>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "device/frame.h"
#include "device/panel_sink.h"
#include "device/reply_wait.h"
#include "device/skipped_port.h"
#include "platform/clock/clock.h"
#include "platform/serial/serial_port.h"

namespace quelt {

inline constexpr int kMaxBoxes = 6;
inline constexpr int kFirstComPort = 1;
inline constexpr int kLastComPort = 14;

struct BoxRecord {
    std::unique_ptr<SerialPort> channel;
    std::uint8_t firmware = 0;
    std::uint8_t comPort = 0;
    std::uint8_t boxId = 0;

    bool channelOpen() const { return channel && channel->isOpen(); }
};

// "FW: %d\nCOM: %d\nBoxID: %d"
std::string boxInfoText(std::uint8_t firmware, std::uint8_t comPort, std::uint8_t boxId);

enum class OperationKind : std::int32_t { HardwareReset = 0, SoftwareReset = 1, Apply = 2 };
enum class ResetKind { Hardware, Software };

class DeviceLink {
  public:
    DeviceLink(PanelSink& sink, Clock& clock, SerialPortFactory portFactory);
    // Waits for every worker, closes every channel. Do not destroy the link on the thread that
    // serves the sink's calls while a worker may still be waiting for it.
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // --- frames (copies taken under the frame lock; safe from any thread) ---
    DeviceFrame deviceFrame() const;
    DeviceFrame workingFrame() const;
    DeviceFrame replyFrame() const;
    void setWorkingFrame(const DeviceFrame& frame);
    // Edits the working frame in place under the frame lock. `edit` must not call back into
    // the link.
    template <class F>
    void editWorkingFrame(F&& edit) {
        std::lock_guard<std::mutex> lock(frameMutex_);
        edit(working_);
    }

    // --- exchanges with the current box (1 success, 0 failure) ---
    int drain();
    // Waits up to 20 s for a valid 16-byte reply with `expectedCode`; a reply arriving in
    // pieces is assembled. Writes `destination` only on success.
    int waitReply(DeviceFrame& destination, std::uint8_t expectedCode);
    // Builds the command from the working frame (header in bytes 0-3), sends it, pauses,
    // waits for its echo.
    int sendCommand(DeviceCommand code, std::uint8_t boxId, std::uint32_t pauseMs);
    int queryStatus(DeviceFrame& destination);

    // --- box table ---
    // Probes COM1..COM14 for up to six boxes; 1 when a box was found and box 0's status read.
    int discoverBoxes();
    void closeAllBoxes();
    int boxCount() const { return boxCount_; }
    // The ports the last discovery passed over, in port order (missing ports are not listed).
    const std::vector<SkippedPort>& skippedPorts() const { return skipped_; }
    int currentBoxIndex() const { return currentBoxIndex_; }
    const BoxRecord& box(int index) const { return boxTable_[static_cast<std::size_t>(index)]; }
    // Index of the current box in the table, -1 when none.
    int currentBoxSlot() const;

    // --- device operations ---
    int applySettings();                          // errors 10-13
    int resetBox(ResetKind kind);                 // errors 6/7 or 8/9
    int patternOnFromSwitch(DeviceCommand code);  // PatternOn or RgbwPatternOn; error 3
    int patternOffFromSwitch();                   // error 4
    // Makes entry `index` current; 0 when the index is outside the table, the channel is closed
    // (nothing else happens) or the status read fails (error 5).
    int selectBox(int index);
    void patternOnBox(int index, DeviceCommand code);  // keyboard: no result, no error box
    void allPatternsOff();                             // keyboard Esc

    std::atomic<std::int32_t> syncToAll{0};

    // --- operation worker ---
    // Starts a worker thread for `kind` unless `workerBusy` or `patternActive` is set (the
    // per-button switch guards are the caller's). Returns 1 when a thread was started.
    int startOperation(OperationKind kind, int buttonIndex);
    // The worker's body (public for tests): claims workerBusy atomically, runs, releases.
    void runOperation(int buttonIndex, OperationKind kind);
    // Blocks until every worker thread started so far has finished (CLI, tests, teardown).
    void waitForWorkers();

  private:
    void copyReplyToDeviceAndWorking();
    void setReply(const DeviceFrame& frame);
    int queryStatusIntoReply();
    void makeCurrent(int index);
    SerialPort* currentChannel() const;
    std::uint8_t currentBoxId() const;
    int writeToCurrent(const std::uint8_t* data, std::size_t length);
    void showFramesOnPanel();
    int applyToEveryBox();
    void reapFinishedWorkers();

    PanelSink& sink_;
    Clock& clock_;
    SerialPortFactory portFactory_;

    mutable std::mutex frameMutex_;
    DeviceFrame device_{};
    DeviceFrame working_{};
    DeviceFrame reply_{};

    std::array<BoxRecord, kMaxBoxes> boxTable_{};
    std::vector<SkippedPort> skipped_;
    BoxRecord* currentBox_ = nullptr;
    std::atomic<int> currentBoxIndex_{0};
    std::atomic<int> boxCount_{0};

    std::atomic<std::int32_t> workerKind_{0};
    std::atomic<std::int32_t> workerButton_{0};
    struct Worker {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };
    std::mutex workersMutex_;
    std::list<Worker> workers_;
};

}  // namespace quelt

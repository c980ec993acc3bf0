// The operation worker: Apply and the resets on their own thread, one at a time.
#include <system_error>

#include "device/device_link.h"
#include "device/flags.h"

namespace quelt {
namespace {

using Operation = int (*)(DeviceLink&);

int runHardwareReset(DeviceLink& link) {
    return link.resetBox(ResetKind::Hardware);
}
int runSoftwareReset(DeviceLink& link) {
    return link.resetBox(ResetKind::Software);
}
int runApply(DeviceLink& link) {
    return link.applySettings();
}

// Indexed by OperationKind.
constexpr Operation kOperations[] = {runHardwareReset, runSoftwareReset, runApply};
constexpr int kOperationCount = static_cast<int>(sizeof kOperations / sizeof kOperations[0]);

}  // namespace

int DeviceLink::startOperation(OperationKind kind, int buttonIndex) {
    reapFinishedWorkers();
    if (workerBusy != 0 || patternActive != 0) {
        return 0;
    }
    workerKind_ = static_cast<std::int32_t>(kind);
    workerButton_ = buttonIndex;
    auto done = std::make_shared<std::atomic<bool>>(false);
    std::lock_guard<std::mutex> lock(workersMutex_);
    try {
        std::thread thread([this, kind, buttonIndex, done] {
            if (workerBusy == 0) {
                runOperation(buttonIndex & 0xFF, kind);
            }
            *done = true;
        });
        workers_.push_back(Worker{std::move(thread), done});
    } catch (const std::system_error&) {
        return 0;  // no thread: nothing runs, nothing is reported
    }
    return 1;
}

void DeviceLink::runOperation(int buttonIndex, OperationKind kind) {
    if (patternActive != 0) {
        return;
    }
    std::int32_t idle = 0;
    if (!workerBusy.compare_exchange_strong(idle, 1)) {
        return;
    }
    sink_.setBusy(true);
    sink_.redrawPanel();
    const int index = static_cast<int>(kind);
    if (index >= 0 && index < kOperationCount) {
        kOperations[index](*this);
    }
    sink_.setBusy(false);
    sink_.redrawPanel();
    workerBusy = 0;
    sink_.releaseButton(buttonIndex);
}

void DeviceLink::reapFinishedWorkers() {
    std::list<Worker> finished;
    {
        std::lock_guard<std::mutex> lock(workersMutex_);
        for (auto it = workers_.begin(); it != workers_.end();) {
            if (*it->done) {
                finished.splice(finished.end(), workers_, it++);
            } else {
                ++it;
            }
        }
    }
    for (Worker& worker : finished) {
        worker.thread.join();
    }
}

void DeviceLink::waitForWorkers() {
    std::list<Worker> all;
    {
        std::lock_guard<std::mutex> lock(workersMutex_);
        all.swap(workers_);
    }
    for (Worker& worker : all) {
        worker.thread.join();
    }
}

}  // namespace quelt

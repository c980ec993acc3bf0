#include <atomic>
#include <chrono>
#include <thread>

#include "link_fixture.h"

namespace quelt::testing {
namespace {

class WorkerTest : public LinkTest {
  protected:
    void SetUp() override {
        box = &addBox(1, 1);
        connect();
    }
    void TearDown() override { link.waitForWorkers(); }
    sim::BoxModel* box = nullptr;
};

// Spins (yielding) until `done` holds; gives up after a generous real-time bound so a fault
// shows as a failed expectation rather than a hung suite.
template <class F>
bool waitUntil(F done) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done()) {
        if (std::chrono::steady_clock::now() > giveUp) {
            return false;
        }
        std::this_thread::yield();
    }
    return true;
}

TEST_F(WorkerTest, HardwareResetRunsOnTheWorkerAndReleasesItsButton) {
    EXPECT_EQ(link.startOperation(OperationKind::HardwareReset, 1), 1);
    link.waitForWorkers();
    EXPECT_EQ(sink.events(), (std::vector<std::string>{"busy:1", "redraw", "frames", "busy:0",
                                                       "redraw", "release:1"}));
    std::vector<int> codes;
    for (const Bytes& write : bus.writes(1)) {
        codes.push_back(write[0]);
    }
    EXPECT_EQ(codes, (std::vector<int>{1, 0xFF}));
    EXPECT_EQ(workerBusy, 0);
}

TEST_F(WorkerTest, GuardsStopTheStartBeforeAnyThread) {
    workerBusy = 1;
    EXPECT_EQ(link.startOperation(OperationKind::Apply, 4), 0);
    workerBusy = 0;
    patternActive = 1;
    EXPECT_EQ(link.startOperation(OperationKind::SoftwareReset, 2), 0);
    link.runOperation(2, OperationKind::SoftwareReset);  // the worker checks again
    link.waitForWorkers();
    EXPECT_TRUE(sink.events().empty());
    EXPECT_TRUE(bus.writeLog().empty());
}

TEST_F(WorkerTest, SecondStartWhileOneRunsDoesNothing) {
    std::atomic<bool> release{false};
    sink.onBusy = [&] { waitUntil([&] { return release.load(); }); };
    EXPECT_EQ(link.startOperation(OperationKind::Apply, 4), 1);
    ASSERT_TRUE(waitUntil([&] { return workerBusy.load() == 1; }));
    EXPECT_EQ(link.startOperation(OperationKind::HardwareReset, 1), 0);
    release = true;
    link.waitForWorkers();
    EXPECT_EQ(sink.events("busy:1").size(), 1u);
    EXPECT_EQ(sink.events("release:"), (std::vector<std::string>{"release:4"}));
}

TEST_F(WorkerTest, OfTwoRacingWorkersExactlyOneRuns) {
    for (int round = 0; round < 20; ++round) {
        sink.clear();
        std::atomic<int> returned{0};
        // The winner holds its claim until the other worker has given up.
        sink.onBusy = [&] { waitUntil([&] { return returned.load() >= 1; }); };
        std::atomic<bool> go{false};
        auto worker = [&] {
            waitUntil([&] { return go.load(); });
            link.runOperation(4, OperationKind::Apply);
            ++returned;
        };
        std::thread a(worker);
        std::thread b(worker);
        go = true;
        a.join();
        b.join();
        ASSERT_EQ(sink.events("busy:1").size(), 1u) << "round " << round;
        EXPECT_EQ(workerBusy, 0);
    }
}

TEST_F(WorkerTest, FailingApplyStillLeavesTheBusyStateAndReleasesTheButton) {
    setFaults(1, "nak=100");
    EXPECT_EQ(link.startOperation(OperationKind::Apply, 4), 1);
    link.waitForWorkers();
    EXPECT_EQ(sink.events(),
              (std::vector<std::string>{"busy:1", "redraw", "panelToFrame", "error:12", "busy:0",
                                        "redraw", "release:4"}));
    EXPECT_EQ(workerBusy, 0);
    // The next Apply can start at once.
    setFaults(1, "");
    sink.clear();
    EXPECT_EQ(link.startOperation(OperationKind::Apply, 4), 1);
    link.waitForWorkers();
    EXPECT_TRUE(sink.events("error:").empty());
}

TEST_F(WorkerTest, UnknownKindRepaintsTwiceAndSendsNothing) {
    link.runOperation(0x104, static_cast<OperationKind>(7));
    EXPECT_EQ(sink.events(),
              (std::vector<std::string>{"busy:1", "redraw", "busy:0", "redraw", "release:260"}));
    sink.clear();
    EXPECT_EQ(link.startOperation(static_cast<OperationKind>(-1), 0x104), 1);
    link.waitForWorkers();
    // Started through the thread entry only the low byte of the button index counts.
    EXPECT_EQ(sink.events(),
              (std::vector<std::string>{"busy:1", "redraw", "busy:0", "redraw", "release:4"}));
    EXPECT_TRUE(bus.writeLog().empty());
}

TEST_F(WorkerTest, FramesCanBeReadWhileTheWorkerRuns) {
    std::atomic<bool> stop{false};
    std::thread painter([&] {
        while (!stop) {
            const DeviceFrame w = link.workingFrame();
            const DeviceFrame d = link.deviceFrame();
            (void)w;
            (void)d;
            std::this_thread::yield();
        }
    });
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(link.startOperation(OperationKind::SoftwareReset, 2), 1);
        link.waitForWorkers();
    }
    stop = true;
    painter.join();
    EXPECT_EQ(link.deviceFrame(), statusOf(*box));
}

}  // namespace
}  // namespace quelt::testing

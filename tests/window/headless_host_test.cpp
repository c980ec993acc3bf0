// The headless host stands in for the real window in the panel's tests, so its message and
// threading contract must match the native hosts.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "support/headless_window_host.h"

namespace quelt {
namespace {

struct Recorder : WindowHandler {
    struct Message {
        std::uint32_t message;
        std::uintptr_t wParam;
        std::intptr_t lParam;
        std::thread::id thread;
    };
    std::vector<Message> messages;
    std::vector<PointerInput> pointer;
    std::intptr_t reply = 0;

    std::intptr_t onMessage(std::uint32_t message, std::uintptr_t wParam,
                            std::intptr_t lParam) override {
        messages.push_back(Message{message, wParam, lParam, std::this_thread::get_id()});
        return reply;
    }
    void onPointer(const PointerInput& input) override { pointer.push_back(input); }
};

class HeadlessHost : public ::testing::Test {
  protected:
    void SetUp() override {
        host.setHandler(&handler);
        ASSERT_TRUE(host.create(1127, 679));
    }
    Recorder handler;
    HeadlessWindowHost host;
};

TEST_F(HeadlessHost, PostedMessagesWaitForThePumpAndArriveInOrder) {
    EXPECT_TRUE(host.post(kUserMessage + 203, 4, 0));
    EXPECT_TRUE(host.post(kUserMessage + 101, 0, 7));
    EXPECT_TRUE(handler.messages.empty());

    EXPECT_EQ(host.pump(), 2);
    ASSERT_EQ(handler.messages.size(), 2u);
    EXPECT_EQ(handler.messages[0].message, 1227u);
    EXPECT_EQ(handler.messages[0].wParam, 4u);
    EXPECT_EQ(handler.messages[1].message, 1125u);
    EXPECT_EQ(handler.messages[1].lParam, 7);
    EXPECT_EQ(host.eventsOf(HostCall::Post).size(), 2u);
}

TEST_F(HeadlessHost, SendOnTheUiThreadIsHandledAtOnceBeforeQueuedPosts) {
    handler.reply = 42;
    host.post(kUserMessage + 1, 0, 0);
    EXPECT_EQ(host.send(kUserMessage + 11, 0, 0), 42);
    ASSERT_EQ(handler.messages.size(), 1u);
    EXPECT_EQ(handler.messages[0].message, kUserMessage + 11);
    host.pump();
    ASSERT_EQ(handler.messages.size(), 2u);
    EXPECT_EQ(handler.messages[1].message, kUserMessage + 1);
}

TEST_F(HeadlessHost, PostsFromSeveralThreadsKeepEachThreadsOrder) {
    constexpr int kThreads = 4;
    constexpr int kPerThread = 500;
    std::vector<std::thread> posters;
    for (int t = 0; t < kThreads; ++t) {
        posters.emplace_back([this, t] {
            for (int i = 0; i < kPerThread; ++i) {
                host.post(kUserMessage + static_cast<std::uint32_t>(t),
                          static_cast<std::uintptr_t>(i), 0);
            }
        });
    }
    for (std::thread& poster : posters) {
        poster.join();
    }
    host.pump();
    ASSERT_EQ(handler.messages.size(), static_cast<std::size_t>(kThreads * kPerThread));
    std::vector<std::uintptr_t> next(kThreads, 0);
    for (const auto& message : handler.messages) {
        const auto thread = message.message - kUserMessage;
        EXPECT_EQ(message.wParam, next[thread]) << "out of order for thread " << thread;
        next[thread] = message.wParam + 1;
        EXPECT_EQ(message.thread, std::this_thread::get_id());
    }
}

TEST_F(HeadlessHost, RunOnUiThreadFromAWorkerWaitsForTheUiThread) {
    std::atomic<bool> returned{false};
    std::thread::id ranOn;
    std::thread worker([&] {
        EXPECT_TRUE(host.runOnUiThread([&] { ranOn = std::this_thread::get_id(); }));
        returned = true;
    });
    ASSERT_TRUE(host.pumpUntil([&] { return returned.load(); }, std::chrono::seconds(10)));
    worker.join();
    EXPECT_EQ(ranOn, std::this_thread::get_id());
}

TEST_F(HeadlessHost, SendFromAWorkerIsHandledOnTheUiThreadAndReturnsTheResult) {
    handler.reply = 9;
    std::intptr_t result = 0;
    std::atomic<bool> returned{false};
    std::thread worker([&] {
        result = host.send(kUserMessage + 500, 27, 0);
        returned = true;
    });
    ASSERT_TRUE(host.pumpUntil([&] { return returned.load(); }, std::chrono::seconds(10)));
    worker.join();
    EXPECT_EQ(result, 9);
    ASSERT_EQ(handler.messages.size(), 1u);
    EXPECT_EQ(handler.messages[0].thread, std::this_thread::get_id());
}

TEST_F(HeadlessHost, StepsOfAWorkerRunWhileAnErrorBoxIsOpen) {
    // The error box's modal loop keeps handling queued work, so a worker waiting on the UI
    // thread is not stuck behind an open box.
    std::atomic<bool> workerDone{false};
    std::thread worker;
    host.setErrorBoxAction([&](const std::string&) {
        worker = std::thread([&] {
            host.runOnUiThread([] {});
            workerDone = true;
        });
        EXPECT_TRUE(host.pumpUntil([&] { return workerDone.load(); }, std::chrono::seconds(10)));
    });
    host.showErrorBox("Switch to device fail.");
    worker.join();
    EXPECT_TRUE(workerDone.load());
    ASSERT_EQ(host.errorBoxTexts().size(), 1u);
    EXPECT_EQ(host.errorBoxTexts()[0], "Switch to device fail.");
}

TEST_F(HeadlessHost, DestroyReleasesWaitersAndRefusesPosts) {
    std::atomic<int> result{-1};
    std::thread worker([&] { result = host.runOnUiThread([] {}) ? 1 : 0; });
    // Give the worker time to queue its step, then drop it (either way it must come back).
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    host.destroy();
    worker.join();
    EXPECT_EQ(result.load(), 0);
    EXPECT_FALSE(host.post(kUserMessage + 1, 0, 0));
    EXPECT_EQ(host.send(kUserMessage + 1, 0, 0), 0);
    EXPECT_TRUE(handler.messages.empty());
}

TEST_F(HeadlessHost, RunEndsWithTheExitCodeOfAQuitPostedFromAnotherThread) {
    std::thread worker([&] {
        host.post(kUserMessage + 205, 0, 0);
        host.quit(3);
    });
    EXPECT_EQ(host.run(), 3);
    worker.join();
    // A quit requested before the loop starts ends it at once.
    host.quit(5);
    EXPECT_EQ(host.run(), 5);
}

TEST_F(HeadlessHost, RecordsWindowCallsAndKeepsTheLastFrame) {
    std::vector<std::uint32_t> canvas(4 * 3, 0x80402010u);
    canvas[1 * 4 + 2] = 0xFF00FF00u;
    host.present(canvas.data(), 3, 3, 16);  // stride wider than a row
    host.setCapture();
    host.setCursor(CursorShape::Hand);
    host.move(236, 185);
    host.show();
    host.beginCaptionDrag(1069, 32);

    const PresentedFrame frame = host.lastFrame();
    ASSERT_EQ(frame.width, 3);
    EXPECT_EQ(frame.pixel(2, 1), 0xFF00FF00u);
    EXPECT_EQ(frame.pixel(0, 2), 0x80402010u);
    EXPECT_EQ(host.clientRect().width(), 3);
    EXPECT_TRUE(host.hasCapture());
    EXPECT_EQ(host.cursor(), CursorShape::Hand);
    EXPECT_EQ(host.screenPosition().x, 236);
    EXPECT_TRUE(host.isVisible());
    const auto drags = host.eventsOf(HostCall::CaptionDrag);
    ASSERT_EQ(drags.size(), 1u);
    EXPECT_EQ(drags[0].x, 1069);
}

TEST_F(HeadlessHost, CallsFromAWorkerAreMarkedAsOffTheUiThread) {
    std::thread worker([&] { host.showErrorBox("Panoril apply fail.\nErrorCode = 0xA001"); });
    worker.join();
    const auto boxes = host.eventsOf(HostCall::ErrorBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_FALSE(boxes[0].onUiThread);
}

}  // namespace
}  // namespace quelt

namespace quelt {
namespace {

TEST(HeadlessHostsOnOneThread, ShareOneLoopAndDropMessagesOfADestroyedWindow) {
    Recorder panelHandler;
    Recorder splashHandler;
    HeadlessWindowHost panel;
    HeadlessWindowHost splash(panel);
    panel.setHandler(&panelHandler);
    splash.setHandler(&splashHandler);
    ASSERT_TRUE(panel.create(1127, 679));
    ASSERT_TRUE(splash.create(270, 340));

    // The splash's own message is handled while the panel waits, in posting order.
    splash.post(kUserMessage + 10, 0, 0);
    panel.post(kUserMessage + 11, 0, 0);
    panel.waitPumpingMessages(2500);
    ASSERT_EQ(splashHandler.messages.size(), 1u);
    EXPECT_EQ(splashHandler.messages[0].message, kUserMessage + 10);
    ASSERT_EQ(panelHandler.messages.size(), 1u);

    // A destroyed window's queued messages are dropped; the other window carries on.
    splash.post(kUserMessage + 12, 0, 0);
    panel.post(kUserMessage + 13, 0, 0);
    splash.destroy();
    EXPECT_FALSE(splash.post(kUserMessage + 14, 0, 0));
    EXPECT_EQ(panel.pump(), 2);
    EXPECT_EQ(splashHandler.messages.size(), 1u);
    ASSERT_EQ(panelHandler.messages.size(), 2u);
    EXPECT_EQ(panelHandler.messages[1].message, kUserMessage + 13);

    // A quit through either window ends the thread's loop.
    splash.quit(2);
    EXPECT_EQ(panel.run(), 2);
}

}  // namespace
}  // namespace quelt

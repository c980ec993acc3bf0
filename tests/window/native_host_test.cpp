// The platform's window host on a real display: X under Xvfb natively, wine for the Windows
// build. Every case skips itself when no window can be made.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include "base/debug_trace.h"
#include "native_test_support.h"
#include "platform/debug_viewer/debug_viewer.h"
#include "platform/debug_viewer/trace_wiring.h"
#include "platform/window/window_host.h"

namespace quelt {
namespace {

struct Recorder : WindowHandler {
    std::vector<std::uint32_t> messages;
    std::function<void(std::uint32_t)> also;
    std::intptr_t onMessage(std::uint32_t message, std::uintptr_t, std::intptr_t) override {
        messages.push_back(message);
        if (also) {
            also(message);
        }
        return static_cast<std::intptr_t>(message) + 1;
    }
    void onPointer(const PointerInput&) override {}
};

class NativeHost : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::failOnToolkitCriticals();
        host = makeNativeWindowHost();
        host->setHandler(&handler);
        if (!host->create(200, 100)) {
            GTEST_SKIP() << "no display to make windows on";
        }
    }
    Recorder handler;
    std::unique_ptr<WindowHost> host;
};

TEST_F(NativeHost, SendRunsAtOncePostsFollowInOrderAndQuitEndsTheLoop) {
    host->post(kUserMessage + 1, 0, 0);
    host->post(kUserMessage + 2, 0, 0);
    EXPECT_EQ(host->send(kUserMessage + 3, 0, 0), kUserMessage + 4);
    EXPECT_EQ(handler.messages, (std::vector<std::uint32_t>{kUserMessage + 3}));

    std::vector<std::uint32_t> expected{kUserMessage + 3, kUserMessage + 1, kUserMessage + 2};
    for (std::uint32_t i = 4; i < 40; ++i) {
        expected.push_back(kUserMessage + i);
    }
    handler.also = [&](std::uint32_t message) {
        if (message == kUserMessage + 39) {
            host->quit(7);
        }
    };
    std::thread other([&] {
        for (std::uint32_t i = 4; i < 40; ++i) {
            host->post(kUserMessage + i, 0, 0);
        }
    });
    EXPECT_EQ(host->run(), 7);
    other.join();
    EXPECT_EQ(handler.messages, expected);
}

TEST_F(NativeHost, RunOnUiThreadAndSendFromAWorkerRunOnTheUiThread) {
    const std::thread::id ui = std::this_thread::get_id();
    std::thread::id ranOn;
    std::intptr_t sent = 0;
    std::thread worker([&] {
        EXPECT_TRUE(host->runOnUiThread([&] { ranOn = std::this_thread::get_id(); }));
        sent = host->send(kUserMessage + 9, 0, 0);
        host->quit(0);
    });
    EXPECT_EQ(host->run(), 0);
    worker.join();
    EXPECT_EQ(ranOn, ui);
    EXPECT_EQ(sent, kUserMessage + 10);
}

TEST_F(NativeHost, WaitPumpingMessagesHandlesPostsAndStopsEarlyAtAQuit) {
    host->post(kUserMessage + 1, 0, 0);
    host->waitPumpingMessages(30);
    EXPECT_EQ(handler.messages, (std::vector<std::uint32_t>{kUserMessage + 1}));

    handler.also = [&](std::uint32_t) { host->quit(4); };
    host->post(kUserMessage + 2, 0, 0);
    const auto start = std::chrono::steady_clock::now();
    host->waitPumpingMessages(20000);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_EQ(host->run(), 4) << "the quit stays pending for the loop";
}

TEST_F(NativeHost, ErrorBoxIsOwnedModalAndKeepsHandlingPostsAndWorkerSteps) {
    constexpr std::uint32_t kStartWorker = kUserMessage + 11;
    std::atomic<bool> stepRan{false};
    testing::ErrorBoxSeen seen;
    std::thread worker;
    // Posted before the box opens: handled by the box's own loop, which starts a worker that
    // hands the UI thread a step and then has the box dismissed.
    handler.also = [&](std::uint32_t message) {
        if (message != kStartWorker) {
            return;
        }
        worker = std::thread([&] {
            host->runOnUiThread([&] { stepRan = true; });
            for (int attempt = 0; attempt < 100 && !seen.found; ++attempt) {
                host->runOnUiThread([&] { seen = testing::dismissOpenErrorBox(); });
                if (!seen.found) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(50));
                }
            }
        });
    };
    host->show();
    host->post(kStartWorker, 0, 0);
    host->showErrorBox("Panoril initialize fail.");
    ASSERT_TRUE(worker.joinable());
    worker.join();
    EXPECT_TRUE(stepRan.load());
    EXPECT_TRUE(seen.found);
    EXPECT_EQ(seen.title, "QueltError...");
    EXPECT_TRUE(seen.owned);
    EXPECT_TRUE(seen.modal);
}

TEST_F(NativeHost, DestroyingTheWindowUnderAnOpenErrorBoxEndsTheBox) {
    constexpr std::uint32_t kDestroy = kUserMessage + 12;
    handler.also = [&](std::uint32_t message) {
        if (message == kDestroy) {
            host->destroy();  // from the box's own loop: the box goes with its window
        }
    };
    host->show();
    host->post(kDestroy, 0, 0);
    host->showErrorBox("Panoril initialize fail.");
    EXPECT_FALSE(host->isCreated());
}

TEST_F(NativeHost, ErrorBoxFromAWorkerIsShownByTheUiThread) {
    std::atomic<bool> returned{false};
    testing::ErrorBoxSeen seen;
    std::thread worker([&] {
        host->showErrorBox("Panoril apply fail.\nErrorCode = 0xA001");
        returned = true;
        host->quit(0);
    });
    // The UI thread finds the box open in its own loop and dismisses it.
    std::thread poller([&] {
        for (int attempt = 0; attempt < 100 && !seen.found; ++attempt) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            host->runOnUiThread([&] { seen = testing::dismissOpenErrorBox(); });
        }
    });
    host->run();
    worker.join();
    poller.join();
    EXPECT_TRUE(returned.load());
    EXPECT_TRUE(seen.found);
    EXPECT_TRUE(seen.owned);
}

TEST_F(NativeHost, DestroyReleasesAWorkerWaitingForTheUiThread) {
    std::atomic<int> result{-1};
    std::thread worker([&] { result = host->runOnUiThread([] {}) ? 1 : 0; });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    host->destroy();
    worker.join();
    EXPECT_EQ(result.load(), 0);
    EXPECT_FALSE(host->post(kUserMessage + 1, 0, 0));
}

TEST_F(NativeHost, PresentShowsOpaquePixelsAndLetsTheDesktopThroughTransparentOnes) {
    // An opaque green backdrop behind the window under test.
    auto backdrop = makeNativeWindowHost();
    ASSERT_TRUE(backdrop->create(300, 150));
    std::vector<std::uint32_t> green(300 * 150, 0xFF00FF00u);
    backdrop->present(green.data(), 300, 150, 300 * 4);
    backdrop->move(50, 50);
    backdrop->show();
    backdrop->waitPumpingMessages(150);

    // Left half transparent, right half opaque red, a blue band at alpha 0xC0 at the bottom.
    std::vector<std::uint32_t> canvas(200 * 100, 0);
    for (int y = 0; y < 100; ++y) {
        for (int x = 100; x < 200; ++x) {
            canvas[static_cast<std::size_t>(y * 200 + x)] = y < 80 ? 0xFFFF0000u : 0xC00000C0u;
        }
    }
    host->present(canvas.data(), 200, 100, 200 * 4);
    host->move(100, 80);
    host->show();
    host->waitPumpingMessages(300);

    EXPECT_EQ(host->clientRect().width(), 200);
    EXPECT_EQ(host->clientRect().height(), 100);
    EXPECT_EQ(host->screenPosition().x, 100);
    EXPECT_EQ(host->screenPosition().y, 80);
    EXPECT_EQ(testing::screenPixel(250, 100), 0xFF0000u) << "opaque part";
    EXPECT_EQ(testing::screenPixel(150, 100), 0x00FF00u) << "transparent part shows what is below";
    const std::uint32_t band = testing::screenPixel(250, 170);
    EXPECT_EQ(band & 0xFF0000u, 0u) << std::hex << band;
    EXPECT_GE(band & 0xFFu, 0xC0u) << "semi-transparent part is drawn: " << std::hex << band;

    // A later frame that changes a corner block and clears a strip shows both, and the rest stays.
    for (int y = 0; y < 10; ++y) {
        for (int x = 180; x < 200; ++x) {
            canvas[static_cast<std::size_t>(y * 200 + x)] = 0xFF0000FFu;
        }
    }
    for (int x = 100; x < 110; ++x) {
        canvas[static_cast<std::size_t>(50 * 200 + x)] = 0;
    }
    host->outlineChanged();  // the strip leaves the window's outline
    host->present(canvas.data(), 200, 100, 200 * 4);
    host->waitPumpingMessages(300);
    EXPECT_EQ(testing::screenPixel(100 + 199, 80), 0x0000FFu) << "the frame's last column";
    EXPECT_EQ(testing::screenPixel(100 + 180, 80 + 9), 0x0000FFu);
    EXPECT_EQ(testing::screenPixel(100 + 179, 80 + 9), 0xFF0000u) << "next to the change";
    EXPECT_EQ(testing::screenPixel(100 + 180, 80 + 10), 0xFF0000u) << "below the change";
    EXPECT_EQ(testing::screenPixel(100 + 105, 80 + 50), 0x00FF00u) << "made transparent";
    EXPECT_EQ(testing::screenPixel(150, 100), 0x00FF00u);
}

}  // namespace
}  // namespace quelt

namespace quelt {
namespace {

TEST_F(NativeHost, TraceLinesReachAViewerWindowOnlyWhenOneExists) {
    EXPECT_FALSE(sendToDebugViewer("F1 down"));
    testing::TitledWindow viewer(kDebugViewerTitle);
    host->waitPumpingMessages(50);
    std::atomic<bool> sent{false};
    std::thread worker([&] {
        sent = sendToDebugViewer("pattern on box 2");
        host->quit(0);
    });
    host->run();
    worker.join();
    EXPECT_TRUE(sent.load());
    EXPECT_EQ(viewer.receivedText(), "pattern on box 2");
}

TEST_F(NativeHost, TheProgramsTraceReachesTheViewerAndQueltTraceOneAlsoStandardError) {
    testing::TitledWindow viewer(kDebugViewerTitle);
    host->waitPumpingMessages(50);
    const TraceSender before = setTraceSender(nullptr);
    // Traced from another thread while the UI thread runs its loop.
    auto traceOnWorker = [this](bool send, const char* text) {
        ::testing::internal::CaptureStderr();
        std::thread worker([&] {
            debugTrace(send, "%s", text);
            host->quit(0);
        });
        host->run();
        worker.join();
        return ::testing::internal::GetCapturedStderr();
    };

    for (const char* setting : {static_cast<const char*>(nullptr), "0", "yes", ""}) {
        EXPECT_FALSE(wireDebugTrace(setting));
    }
    EXPECT_EQ(traceOnWorker(false, "KeyHook - DW2"), "");
    EXPECT_EQ(viewer.receivedText(), "");
    EXPECT_EQ(traceOnWorker(true, "KeyHook - Down - F12"), "");
    EXPECT_EQ(viewer.receivedText(), "KeyHook - Down - F12");

    EXPECT_TRUE(wireDebugTrace("1"));
    EXPECT_EQ(traceOnWorker(false, "KeyHook - UP2"), "KeyHook - UP2\n");
    EXPECT_EQ(viewer.receivedText(), "KeyHook - UP2");

    wireDebugTrace(nullptr);
    setTraceSender(before);
}

}  // namespace
}  // namespace quelt

namespace quelt {
namespace {

TEST_F(NativeHost, TheWindowTakesTheSizeOfEachPresentedCanvasAndKeepsItsPlace) {
    host->move(30, 40);
    host->show();
    std::vector<std::uint32_t> small(120 * 60, 0xFF000000u);
    host->present(small.data(), 120, 60, 120 * 4);
    host->waitPumpingMessages(100);
    EXPECT_EQ(host->clientRect().width(), 120);
    EXPECT_EQ(host->clientRect().height(), 60);
    EXPECT_EQ(host->screenPosition().x, 30);
    EXPECT_EQ(host->screenPosition().y, 40);

    // Queries from another thread are answered by the UI thread.
    // (The worker also ends the loop through a second window of the same thread.)
    auto second = makeNativeWindowHost();
    ASSERT_TRUE(second->create(10, 10));
    WindowRect fromWorker;
    std::thread worker([&] {
        fromWorker = host->clientRect();
        second->quit(6);
    });
    EXPECT_EQ(host->run(), 6);
    worker.join();
    EXPECT_EQ(fromWorker.width(), 120);
}

}  // namespace
}  // namespace quelt

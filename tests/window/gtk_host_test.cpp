// Pointer input of the GTK host on a real X display, driven with xdotool (run under Xvfb).
// Skipped when DISPLAY is not set or xdotool is missing.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "platform/window/window_host.h"

namespace quelt {
namespace {

struct Recorder : WindowHandler {
    std::vector<std::uint32_t> messages;
    std::vector<PointerInput> pointer;
    std::intptr_t onMessage(std::uint32_t message, std::uintptr_t, std::intptr_t) override {
        messages.push_back(message);
        return static_cast<std::intptr_t>(message) + 1;
    }
    void onPointer(const PointerInput& input) override { pointer.push_back(input); }
    int count(PointerAction action) const {
        int n = 0;
        for (const PointerInput& input : pointer) {
            n += input.action == action ? 1 : 0;
        }
        return n;
    }
};

class GtkHost : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* display = std::getenv("DISPLAY");
        if (display == nullptr || display[0] == '\0') {
            GTEST_SKIP() << "no X display";
        }
        host = makeNativeWindowHost();
        host->setHandler(&handler);
        ASSERT_TRUE(host->create(200, 100));
    }

    static bool haveXdotool() { return std::system("command -v xdotool >/dev/null 2>&1") == 0; }

    Recorder handler;
    std::unique_ptr<WindowHost> host;
};

TEST_F(GtkHost, DoubleClickGivesTwoPressesAndTransparentPixelsPassClicksOn) {
    if (!haveXdotool()) {
        GTEST_SKIP() << "xdotool not installed";
    }
    std::vector<std::uint32_t> canvas(200 * 100, 0xFF202020u);
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 50; ++x) {
            canvas[static_cast<std::size_t>(y * 200 + x)] = 0;
        }
    }
    host->present(canvas.data(), 200, 100, 200 * 4);
    host->move(400, 300);
    host->show();
    host->waitPumpingMessages(200);

    ASSERT_EQ(std::system("xdotool mousemove 500 350 click --repeat 2 --delay 60 1"), 0);
    host->waitPumpingMessages(400);
    EXPECT_EQ(handler.count(PointerAction::Press), 2);
    EXPECT_EQ(handler.count(PointerAction::Release), 2);
    bool sawPressAt = false;
    for (const PointerInput& input : handler.pointer) {
        if (input.action == PointerAction::Press) {
            sawPressAt = input.x == 100 && input.y == 50 && (input.flags & kPointerLeftButton);
        }
    }
    EXPECT_TRUE(sawPressAt);

    handler.pointer.clear();
    ASSERT_EQ(std::system("xdotool mousemove 420 350 click 1"), 0);
    host->waitPumpingMessages(300);
    EXPECT_EQ(handler.count(PointerAction::Press), 0) << "a fully transparent pixel is not hit";
}

TEST_F(GtkHost, CaptionDragMovesTheWindowWithThePointer) {
    if (!haveXdotool()) {
        GTEST_SKIP() << "xdotool not installed";
    }
    struct Dragger : WindowHandler {
        WindowHost* host = nullptr;
        std::intptr_t onMessage(std::uint32_t, std::uintptr_t, std::intptr_t) override { return 0; }
        void onPointer(const PointerInput& input) override {
            if (input.action == PointerAction::Press) {
                host->beginCaptionDrag(input.x, input.y);
            }
        }
    } dragger;
    dragger.host = host.get();
    host->setHandler(&dragger);
    std::vector<std::uint32_t> canvas(200 * 100, 0xFF808080u);
    host->present(canvas.data(), 200, 100, 200 * 4);
    host->move(300, 200);
    host->show();
    host->waitPumpingMessages(200);

    ASSERT_EQ(std::system("xdotool mousemove 310 210 mousedown 1 sleep 0.1 mousemove 360 260 "
                          "sleep 0.1 mousemove 410 290 sleep 0.1 mouseup 1"),
              0);
    host->waitPumpingMessages(400);
    EXPECT_EQ(host->screenPosition().x, 400);
    EXPECT_EQ(host->screenPosition().y, 280);
    host->setHandler(&handler);
}

}  // namespace
}  // namespace quelt

namespace quelt {
namespace {

TEST_F(GtkHost, CapturedPointerIsFollowedOutsideTheWindowAndKeysDoNotCloseIt) {
    if (!haveXdotool()) {
        GTEST_SKIP() << "xdotool not installed";
    }
    struct Capturer : WindowHandler {
        WindowHost* host = nullptr;
        std::vector<PointerInput> seen;
        int messages = 0;
        std::intptr_t onMessage(std::uint32_t, std::uintptr_t, std::intptr_t) override {
            ++messages;
            return 0;
        }
        void onPointer(const PointerInput& input) override {
            seen.push_back(input);
            if (input.action == PointerAction::Press) {
                host->setCapture();
            } else if (input.action == PointerAction::Release) {
                host->releaseCapture();
            }
        }
    } capturer;
    capturer.host = host.get();
    host->setHandler(&capturer);
    std::vector<std::uint32_t> canvas(200 * 100, 0xFF406080u);
    host->present(canvas.data(), 200, 100, 200 * 4);
    host->move(400, 300);
    host->show();
    host->waitPumpingMessages(200);

    ASSERT_EQ(std::system("xdotool mousemove 450 350 mousedown 1 sleep 0.1 mousemove 700 600 "
                          "sleep 0.1 mouseup 1 sleep 0.1 key Return key Escape"),
              0);
    host->waitPumpingMessages(400);
    host->setHandler(&handler);

    int presses = 0;
    for (const PointerInput& input : capturer.seen) {
        presses += input.action == PointerAction::Press ? 1 : 0;
    }
    ASSERT_EQ(presses, 1);
    const PointerInput& last = capturer.seen.back();
    EXPECT_EQ(last.action, PointerAction::Release);
    EXPECT_EQ(last.x, 300);
    EXPECT_EQ(last.y, 300);
    EXPECT_EQ(last.flags & kPointerLeftButton, 0u);
    EXPECT_TRUE(host->isVisible());
    EXPECT_EQ(capturer.messages, 0);
}

}  // namespace
}  // namespace quelt

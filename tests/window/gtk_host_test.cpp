// The GTK host on a real X display (run under Xvfb). Skipped when DISPLAY is not set.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "platform/window_host.h"

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

    // Colour of a screen pixel as 0xRRGGBB.
    static std::uint32_t screenPixel(int x, int y) {
        GdkPixbuf* pixbuf = gdk_pixbuf_get_from_window(gdk_get_default_root_window(), x, y, 1, 1);
        if (pixbuf == nullptr) {
            return 0xDEADBEEFu;
        }
        const guchar* p = gdk_pixbuf_get_pixels(pixbuf);
        const std::uint32_t rgb = (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
        g_object_unref(pixbuf);
        return rgb;
    }

    static bool haveXdotool() { return std::system("command -v xdotool >/dev/null 2>&1") == 0; }

    Recorder handler;
    std::unique_ptr<WindowHost> host;
};

TEST_F(GtkHost, PresentShowsOpaquePixelsAndLetsTheDesktopThroughTransparentOnes) {
    // An opaque green backdrop behind the window under test.
    auto backdrop = makeNativeWindowHost();
    ASSERT_TRUE(backdrop->create(300, 150));
    std::vector<std::uint32_t> green(300 * 150, 0xFF00FF00u);
    backdrop->present(green.data(), 300, 150, 300 * 4);
    backdrop->move(50, 50);
    backdrop->show();
    backdrop->waitPumpingMessages(150);

    // Left half transparent, right half opaque red, a half-alpha blue band at the bottom right.
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
    EXPECT_EQ(host->screenPosition().x, 100);
    EXPECT_EQ(host->screenPosition().y, 80);
    EXPECT_EQ(screenPixel(250, 100), 0xFF0000u) << "opaque part";
    EXPECT_EQ(screenPixel(150, 100), 0x00FF00u) << "transparent part shows what lies below";
    const std::uint32_t band = screenPixel(250, 170);
    EXPECT_EQ(band & 0xFFFF00u, 0u);
    EXPECT_GE(band & 0xFFu, 0xC0u) << "semi-transparent part is drawn";
}

TEST_F(GtkHost, SendRunsAtOncePostsFollowInOrderAndQuitEndsTheLoop) {
    host->post(kUserMessage + 1, 0, 0);
    host->post(kUserMessage + 2, 0, 0);
    EXPECT_EQ(host->send(kUserMessage + 3, 0, 0), kUserMessage + 4);
    EXPECT_EQ(handler.messages, (std::vector<std::uint32_t>{kUserMessage + 3}));

    std::thread other([&] {
        for (std::uint32_t i = 4; i < 40; ++i) {
            host->post(kUserMessage + i, 0, 0);
        }
        host->quit(7);
    });
    EXPECT_EQ(host->run(), 7);
    other.join();
    host->waitPumpingMessages(50);  // whatever was still queued behind the quit
    ASSERT_EQ(handler.messages.size(), 39u);
    for (std::size_t i = 0; i < handler.messages.size(); ++i) {
        const std::uint32_t expected =
            i == 0 ? 3
                   : (i < 3 ? static_cast<std::uint32_t>(i) : static_cast<std::uint32_t>(i + 1));
        EXPECT_EQ(handler.messages[i], kUserMessage + expected) << "at " << i;
    }
}

TEST_F(GtkHost, RunOnUiThreadAndSendFromAWorkerRunOnTheUiThread) {
    const std::thread::id ui = std::this_thread::get_id();
    std::thread::id ranOn;
    std::intptr_t sent = 0;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        host->runOnUiThread([&] { ranOn = std::this_thread::get_id(); });
        sent = host->send(kUserMessage + 9, 0, 0);
        done = true;
        host->quit(0);
    });
    host->run();
    worker.join();
    EXPECT_TRUE(done.load());
    EXPECT_EQ(ranOn, ui);
    EXPECT_EQ(sent, kUserMessage + 10);
}

TEST_F(GtkHost, ErrorBoxIsModalOwnedTitledAndKeepsHandlingWorkerSteps) {
    struct Probe {
        std::string title;
        bool modal = false;
        bool owned = false;
        std::atomic<bool> workerStepRan{false};
        std::thread worker;
        WindowHost* host = nullptr;
    } probe;
    probe.host = host.get();
    host->show();
    // While the box is open: a worker hands the UI thread a step, then the box is dismissed.
    g_timeout_add(
        200,
        [](gpointer data) -> gboolean {
            auto* p = static_cast<Probe*>(data);
            GList* windows = gtk_window_list_toplevels();
            for (GList* item = windows; item != nullptr; item = item->next) {
                GtkWindow* window = GTK_WINDOW(item->data);
                const char* title = gtk_window_get_title(window);
                if (GTK_IS_DIALOG(window) && title != nullptr &&
                    gtk_widget_get_visible(GTK_WIDGET(window))) {
                    p->title = title;
                    p->modal = gtk_window_get_modal(window);
                    p->owned = gtk_window_get_transient_for(window) != nullptr;
                    if (!p->worker.joinable()) {
                        p->worker = std::thread(
                            [p] { p->host->runOnUiThread([p] { p->workerStepRan = true; }); });
                    }
                    if (p->workerStepRan.load()) {
                        gtk_dialog_response(GTK_DIALOG(window), GTK_RESPONSE_OK);
                        g_list_free(windows);
                        return G_SOURCE_REMOVE;
                    }
                }
            }
            g_list_free(windows);
            return G_SOURCE_CONTINUE;
        },
        &probe);
    host->showErrorBox("Panoril initialize fail.");
    probe.worker.join();
    EXPECT_EQ(probe.title, "QueltError...");
    EXPECT_TRUE(probe.modal);
    EXPECT_TRUE(probe.owned);
    EXPECT_TRUE(probe.workerStepRan.load());
}

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

// The X11 observer against a real X server (Xvfb in the test runs): keys typed with xdotool
// while another client has the focus. Skipped without DISPLAY.
// gtest comes before Xlib, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>
// clang-format off
#include <X11/Xlib.h>
#include <glib.h>
// clang-format on

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/keyboard/keyboard_observer.h"

namespace quelt {
namespace {

using Event = std::pair<std::uint32_t, std::uint32_t>;  // message, virtual key

constexpr std::uint32_t kDown = KeyMessage::Down;
constexpr std::uint32_t kUp = KeyMessage::Up;

// Handles the UI thread's main context until `done` holds or 5 s have passed.
bool pumpUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        if (!g_main_context_iteration(nullptr, FALSE)) {
            g_usleep(2000);
        }
    }
    return true;
}

void pumpFor(std::chrono::milliseconds span) {
    const auto until = std::chrono::steady_clock::now() + span;
    pumpUntil([&] { return std::chrono::steady_clock::now() > until; });
}

// Runs xdotool with `arguments` ("key 2", "keydown alt ...").
bool xdotool(const std::string& arguments) {
    return std::system(("xdotool " + arguments).c_str()) == 0;
}

// An X server without -noreset resets when its last client leaves, and drops connections
// made meanwhile: try again for a while.
Display* openDisplay() {
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (Display* display = XOpenDisplay(nullptr)) {
            return display;
        }
        g_usleep(20000);
    }
    return nullptr;
}

// Another X client with a window that holds the keyboard focus and records its key events.
// Made before the observer, so the server keeps a client while the test runs.
class FocusedWindow {
  public:
    FocusedWindow() : display_(openDisplay()) {
        if (display_ == nullptr) {
            return;
        }
        window_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 64, 64, 0, 0, 0);
        XSelectInput(display_, window_, KeyPressMask | KeyReleaseMask | StructureNotifyMask);
        XMapWindow(display_, window_);
        XEvent event;
        do {
            XWindowEvent(display_, window_, StructureNotifyMask, &event);
        } while (event.type != MapNotify);
        focus();
    }
    ~FocusedWindow() {
        if (display_ != nullptr) {
            XDestroyWindow(display_, window_);
            XCloseDisplay(display_);
        }
    }
    FocusedWindow(const FocusedWindow&) = delete;
    FocusedWindow& operator=(const FocusedWindow&) = delete;

    bool ok() const { return display_ != nullptr; }
    void focus() {
        XSetInputFocus(display_, window_, RevertToParent, CurrentTime);
        XSync(display_, False);
    }
    // Waits until the window has received `count` key events; returns their types.
    std::vector<int> waitForKeyEvents(std::size_t count) {
        std::vector<int> types;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (types.size() < count && std::chrono::steady_clock::now() < deadline) {
            XEvent event;
            if (XCheckWindowEvent(display_, window_, KeyPressMask | KeyReleaseMask, &event)) {
                types.push_back(event.type);
            } else {
                g_usleep(2000);
            }
        }
        return types;
    }

  private:
    Display* display_;
    Window window_ = 0;
};

class RawKeyObserverTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::getenv("DISPLAY") == nullptr) {
            GTEST_SKIP() << "no X display";
        }
        if (std::system("command -v xdotool > /dev/null") != 0) {
            GTEST_SKIP() << "xdotool is not installed";
        }
        ASSERT_TRUE(focused_.ok());
    }

    KeyCallback recorder() {
        return [this](std::uint32_t message, std::uint32_t key) {
            events_.emplace_back(message, key);
            return KeyPassing::PassOn;
        };
    }
    // Events of one key only: other programs on the same display may type too.
    std::vector<Event> eventsOf(std::uint32_t key) const {
        std::vector<Event> result;
        for (const Event& event : events_) {
            if (event.second == key) {
                result.push_back(event);
            }
        }
        return result;
    }

    FocusedWindow focused_;
    std::unique_ptr<KeyboardObserver> observer_ = makeKeyboardObserver();
    std::vector<Event> events_;
};

TEST_F(RawKeyObserverTest, KeySeenAsDownThenUpAndStillReachesTheFocusedProgram) {
    ASSERT_TRUE(observer_->install(recorder()));
    EXPECT_TRUE(observer_->isInstalled());
    focused_.focus();
    ASSERT_TRUE(xdotool("key 2"));

    EXPECT_TRUE(pumpUntil([&] { return eventsOf(0x32).size() >= 2; }));
    EXPECT_EQ(eventsOf(0x32), (std::vector<Event>{{kDown, 0x32}, {kUp, 0x32}}));
    EXPECT_EQ(focused_.waitForKeyEvents(2), (std::vector<int>{KeyPress, KeyRelease}));
}

TEST_F(RawKeyObserverTest, AltMakesSystemKeysAndEscapeAndFunctionKeysHaveTheirCodes) {
    ASSERT_TRUE(observer_->install(recorder()));
    ASSERT_TRUE(xdotool("keydown alt keydown 4 keyup 4 keyup alt key Escape F12"));
    EXPECT_TRUE(pumpUntil([&] { return eventsOf(0x7B).size() >= 2; }));

    // xdotool releases Alt twice; the second release is reported as it comes.
    std::vector<Event> alt = eventsOf(0xA4);
    ASSERT_GE(alt.size(), 2u);
    alt.resize(2);
    EXPECT_EQ(alt, (std::vector<Event>{{0x104, 0xA4}, {kUp, 0xA4}}));
    EXPECT_EQ(eventsOf(0x34), (std::vector<Event>{{0x104, 0x34}, {0x105, 0x34}}));
    EXPECT_EQ(eventsOf(0x1B), (std::vector<Event>{{kDown, 0x1B}, {kUp, 0x1B}}));
    EXPECT_EQ(eventsOf(0x7B), (std::vector<Event>{{kDown, 0x7B}, {kUp, 0x7B}}));
}

TEST_F(RawKeyObserverTest, NothingArrivesAfterRemove) {
    ASSERT_TRUE(observer_->install(recorder()));
    observer_->remove();
    EXPECT_FALSE(observer_->isInstalled());
    focused_.focus();
    ASSERT_TRUE(xdotool("key 3"));
    // Once the focused window has the key, any raw event for it has been sent as well.
    EXPECT_EQ(focused_.waitForKeyEvents(2).size(), 2u);
    pumpFor(std::chrono::milliseconds(200));
    EXPECT_TRUE(eventsOf(0x33).empty());
}

TEST_F(RawKeyObserverTest, CallbackMayReplaceOrRemoveTheObserver) {
    // Installing again swaps the callback without a second installation; a second observer
    // cannot install while this one is.
    std::vector<Event> first;
    ASSERT_TRUE(observer_->install([&](std::uint32_t message, std::uint32_t key) {
        first.emplace_back(message, key);
        return KeyPassing::PassOn;
    }));
    EXPECT_FALSE(makeKeyboardObserver()->install(recorder()));
    ASSERT_TRUE(observer_->install([this](std::uint32_t message, std::uint32_t key) {
        if (key != 0x35) {
            return KeyPassing::PassOn;
        }
        events_.emplace_back(message, key);
        EXPECT_TRUE(observer_->reinstall());
        // Replaces the very callback that is running, then removes the observer.
        observer_->install(recorder());
        observer_->remove();
        return KeyPassing::PassOn;
    }));
    ASSERT_TRUE(xdotool("key 5 5"));
    // After the first key-down removed the observer, nothing more arrives.
    EXPECT_TRUE(pumpUntil([&] { return !eventsOf(0x35).empty(); }));
    EXPECT_EQ(focused_.waitForKeyEvents(4).size(), 4u);
    pumpFor(std::chrono::milliseconds(200));
    EXPECT_EQ(eventsOf(0x35), (std::vector<Event>{{kDown, 0x35}}));
    EXPECT_TRUE(first.empty());
    EXPECT_FALSE(observer_->isInstalled());
    // And a new observer may install now.
    auto next = makeKeyboardObserver();
    EXPECT_TRUE(next->install(recorder()));
}

TEST(RawKeyObserverWithoutDisplay, InstallFailsCleanly) {
    const char* saved = std::getenv("DISPLAY");
    const std::string previous = saved != nullptr ? saved : "";
    setenv("DISPLAY", "unix:/nonexistent/quelt-no-display", 1);
    auto observer = makeKeyboardObserver();
    EXPECT_FALSE(
        observer->install([](std::uint32_t, std::uint32_t) { return KeyPassing::PassOn; }));
    EXPECT_FALSE(observer->isInstalled());
    EXPECT_FALSE(observer->reinstall());
    observer->remove();
    if (saved != nullptr) {
        setenv("DISPLAY", previous.c_str(), 1);
    } else {
        unsetenv("DISPLAY");
    }
}

}  // namespace
}  // namespace quelt

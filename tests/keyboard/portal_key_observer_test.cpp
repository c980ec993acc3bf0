// The desktop portal's global shortcuts against a fake portal on a private session bus: what is
// bound, how its signals reach the shortcut rules, and the fallback when there is no portal.
#include <glib.h>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <utility>
#include <vector>

#include "device/flags.h"
#include "panel/keyboard_shortcuts.h"
#include "platform/keyboard/portal/portal_key_observer.h"
#include "platform/keyboard/preferred_key_observer.h"
#include "platform/keyboard/x11/raw_key_observer.h"
#include "support/fake_shortcuts_portal.h"

namespace quelt {
namespace {

using test::FakeShortcutsPortal;

// Handles the UI thread's main context until `done` holds or `limit` has passed.
bool pumpUntil(const std::function<bool()>& done,
               std::chrono::milliseconds limit = std::chrono::seconds(5)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        if (!g_main_context_iteration(nullptr, FALSE)) {
            g_usleep(1000);
        }
    }
    return true;
}

struct RecordingTarget : ShortcutTarget {
    std::vector<std::pair<std::uint32_t, std::uintptr_t>> posts;
    bool hasWindow() const override { return true; }
    void post(std::uint32_t message, std::uintptr_t wParam) override {
        posts.emplace_back(message, wParam);
    }
    void reinstallHook() override {}
};

// Stands in for the XInput2 observer.
struct FallbackObserver : KeyboardObserver {
    bool* installed;
    explicit FallbackObserver(bool* flag) : installed(flag) {}
    bool install(KeyCallback) override { return *installed = true; }
    bool reinstall() override { return *installed; }
    void remove() override { *installed = false; }
    bool isInstalled() const override { return *installed; }
};

class PortalKeys : public ::testing::Test {
  protected:
    void SetUp() override { resetProcessFlags(); }
    void TearDown() override { resetProcessFlags(); }
    test::PrivateSessionBus bus;
};

TEST_F(PortalKeys, BindsTheShortcutKeysAndFeedsTheirEventsToTheShortcutRules) {
    FakeShortcutsPortal portal;
    ASSERT_TRUE(portal.serving());
    RecordingTarget target;
    KeyboardShortcuts rules;
    rules.setTarget(&target);
    shortcutsEnabled = 1;
    auto observer = makePortalKeyObserver();
    ASSERT_TRUE(observer->install([&](std::uint32_t message, std::uint32_t key) {
        rules.onKeyEvent(0, message, &key);
        return KeyPassing::PassOn;
    }));

    const std::vector<FakeShortcutsPortal::Shortcut> expected = {
        {"Escape", "Escape"}, {"1", "1"},   {"2", "2"},   {"3", "3"},    {"4", "4"},
        {"5", "5"},           {"6", "6"},   {"F1", "F1"}, {"F2", "F2"},  {"F3", "F3"},
        {"F4", "F4"},         {"F5", "F5"}, {"F6", "F6"}, {"F12", "F12"}};
    EXPECT_EQ(portal.bound(), expected);

    // Each press posts once; its release re-arms the rules for the next row.
    struct Case {
        const char* id;
        std::uint32_t message;
        std::uintptr_t wParam;
    };
    const Case cases[] = {
        {"F12", 1225, 1},  {"Escape", 1526, 0}, {"1", 1524, 0x31},
        {"6", 1524, 0x36}, {"F1", 1525, 0x70},  {"F6", 1525, 0x75},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        target.posts.clear();
        portal.emit("Activated", c.id);
        portal.emit("Deactivated", c.id);
        ASSERT_TRUE(pumpUntil([&] { return rules.armed() && !target.posts.empty(); }));
        ASSERT_EQ(target.posts.size(), 1u);
        EXPECT_EQ(target.posts[0].first, c.message);
        EXPECT_EQ(target.posts[0].second, c.wParam);
    }

    // Removed, the session's signals reach nobody.
    observer->remove();
    target.posts.clear();
    portal.emit("Activated", "F12");
    pumpUntil([] { return false; }, std::chrono::milliseconds(200));
    EXPECT_TRUE(target.posts.empty());
}

TEST_F(PortalKeys, FallsBackWhereThePortalIsMissingOrRefusesTheBind) {
    struct Case {
        const char* name;
        bool portal;
        std::uint32_t bindResponse;
        bool fallback;
    };
    const Case cases[] = {
        {"no portal", false, 0, true},
        {"bind cancelled", true, 1, true},
        {"bound", true, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<FakeShortcutsPortal> portal;
        if (c.portal) {
            portal = std::make_unique<FakeShortcutsPortal>(c.bindResponse);
            ASSERT_TRUE(portal->serving());
        }
        bool fallbackInstalled = false;
        PreferredKeyObserver observer(makePortalKeyObserver(),
                                      std::make_unique<FallbackObserver>(&fallbackInstalled),
                                      xwaylandShortcutNotice());
        ASSERT_TRUE(
            observer.install([](std::uint32_t, std::uint32_t) { return KeyPassing::PassOn; }));
        EXPECT_EQ(fallbackInstalled, c.fallback);
        const std::string notice = observer.notice();
        EXPECT_EQ(notice.find("only while one of its windows has the focus") != std::string::npos,
                  c.fallback);
        EXPECT_EQ(notice.find("desktop portal") != std::string::npos, !c.fallback);
        observer.remove();
        EXPECT_FALSE(fallbackInstalled);
    }
}

TEST(WaylandNotice, SaysWhenShortcutsArriveThroughXWayland) {
    const std::string notice = xwaylandShortcutNotice();
    EXPECT_NE(notice.find("only while one of its windows has the focus"), std::string::npos);
    EXPECT_NE(notice.find("XWayland"), std::string::npos);
}

}  // namespace
}  // namespace quelt

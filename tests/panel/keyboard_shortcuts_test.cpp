#include "panel/keyboard_shortcuts.h"

#include <gtest/gtest.h>

#include <vector>

#include "device/flags.h"
#include "panel/panel_messages.h"

namespace quelt {
namespace {

struct RecordingTarget : ShortcutTarget {
    bool window = true;
    std::vector<std::pair<std::uint32_t, std::uintptr_t>> posts;
    int reinstalls = 0;
    bool hasWindow() const override { return window; }
    void post(std::uint32_t message, std::uintptr_t wParam) override {
        posts.emplace_back(message, wParam);
    }
    void reinstallHook() override { ++reinstalls; }
};

class Shortcuts : public ::testing::Test {
  protected:
    void SetUp() override {
        resetProcessFlags();
        shortcutsEnabled = 1;
        keys.setTarget(&target);
    }
    void TearDown() override { resetProcessFlags(); }

    HookVerdict down(std::uint32_t vk) { return keys.onKeyEvent(0, kWmKeyDown, &vk); }
    HookVerdict up(std::uint32_t vk) { return keys.onKeyEvent(0, kWmKeyUp, &vk); }

    RecordingTarget target;
    KeyboardShortcuts keys;
};

TEST(ShortcutTable, MapsEscDigitsFunctionKeysAndF12Only) {
    EXPECT_EQ(shortcutForKey(0x1B)->message, msg::KeyAllOff);
    EXPECT_EQ(shortcutForKey(0x1B)->wParam, 0u);
    EXPECT_EQ(shortcutForKey(0x31)->message, msg::KeyPattern);
    EXPECT_EQ(shortcutForKey(0x36)->wParam, 0x36u);
    EXPECT_EQ(shortcutForKey(0x70)->message, msg::KeyRgbwPattern);
    EXPECT_EQ(shortcutForKey(0x75)->wParam, 0x75u);
    EXPECT_EQ(shortcutForKey(0x7B)->message, msg::HwResetButton);
    EXPECT_EQ(shortcutForKey(0x7B)->wParam, 1u);
    for (std::uint32_t other : {0x30u, 0x37u, 0x60u, 0x61u, 0x66u, 0x76u, 0x7Au, 0x41u, 0x0Du}) {
        EXPECT_FALSE(shortcutForKey(other).has_value()) << other;  // keypad digits included
    }
}

TEST_F(Shortcuts, HoldingAKeyPostsOnceAndReleaseRearms) {
    for (int repeat = 0; repeat < 30; ++repeat) {
        EXPECT_EQ(down(0x31), HookVerdict::PassOn);
    }
    ASSERT_EQ(target.posts.size(), 1u);
    EXPECT_EQ(target.posts[0].first, msg::KeyPattern);
    EXPECT_EQ(target.posts[0].second, 0x31u);
    EXPECT_FALSE(keys.armed());
    EXPECT_EQ(up(0x31), HookVerdict::PassOn);
    EXPECT_TRUE(keys.armed());
    EXPECT_EQ(keys.rememberedKey(), kNoKey);
    EXPECT_EQ(target.reinstalls, 1);
}

TEST_F(Shortcuts, SecondKeyWhileFirstHeldIsIgnored) {
    down(0x31);
    down(0x32);
    up(0x32);  // not the remembered key: stays disarmed
    EXPECT_FALSE(keys.armed());
    up(0x31);
    ASSERT_EQ(target.posts.size(), 1u);
    down(0x70);
    ASSERT_EQ(target.posts.size(), 2u);
    EXPECT_EQ(target.posts[1].first, msg::KeyRgbwPattern);
}

TEST_F(Shortcuts, UnrelatedKeyDisarmsAndRearmsWithoutPosting) {
    down(0x41);
    EXPECT_FALSE(keys.armed());
    EXPECT_EQ(keys.rememberedKey(), 0x41u);
    down(0x1B);  // while A is held
    up(0x41);
    EXPECT_TRUE(keys.armed());
    EXPECT_TRUE(target.posts.empty());
    down(0x1B);
    ASSERT_EQ(target.posts.size(), 1u);
    EXPECT_EQ(target.posts[0].first, msg::KeyAllOff);
}

TEST_F(Shortcuts, NothingActsWhileDisconnectedBusyPatternOrEscape) {
    std::atomic<std::int32_t>* blockers[] = {&workerBusy, &patternActive, &escapeInProgress};
    for (auto* flag : blockers) {
        *flag = 1;
        EXPECT_EQ(down(0x31), HookVerdict::ReturnZero);
        EXPECT_EQ(up(0x31), HookVerdict::ReturnZero);
        *flag = 0;
    }
    shortcutsEnabled = 0;
    EXPECT_EQ(down(0x7B), HookVerdict::ReturnZero);
    EXPECT_TRUE(target.posts.empty());
    EXPECT_TRUE(keys.armed());
}

TEST_F(Shortcuts, ReleaseDuringTheOperationItStartedStillRearms) {
    down(0x7B);  // F12: hardware reset
    workerBusy = 1;
    EXPECT_EQ(up(0x33), HookVerdict::ReturnZero);  // not the remembered key
    EXPECT_FALSE(keys.armed());
    EXPECT_EQ(up(0x7B), HookVerdict::ReturnZero);
    EXPECT_TRUE(keys.armed());
    down(0x32);  // still busy: nothing acts, nothing disarms
    EXPECT_EQ(target.posts.size(), 1u);
    EXPECT_TRUE(keys.armed());
    workerBusy = 0;
    down(0x32);
    ASSERT_EQ(target.posts.size(), 2u);
    EXPECT_EQ(target.posts[1].first, msg::KeyPattern);
}

TEST_F(Shortcuts, OnlyF12ReleasedDuringItsResetRearmsWhileBlocked) {
    struct Row {
        std::uint32_t key;
        std::atomic<std::int32_t>* blocker;
        std::int32_t blockedValue;
        bool rearmed;
    };
    const Row rows[] = {
        {0x7B, &workerBusy, 1, true},         // F12 released while its reset runs
        {0x31, &workerBusy, 1, false},        // a digit released while an Apply runs
        {0x1B, &workerBusy, 1, false},        // Esc released while an operation runs
        {0x7B, &patternActive, 1, false},     // F12 released while a pattern shows
        {0x7B, &escapeInProgress, 1, false},  // F12 released while Esc is handled
        {0x7B, &shortcutsEnabled, 0, false},  // F12 released after disconnecting
        {0x70, &shortcutsEnabled, 0, false},
    };
    for (const Row& r : rows) {
        KeyboardShortcuts fresh;
        fresh.setTarget(&target);
        std::uint32_t key = r.key;
        fresh.onKeyEvent(0, kWmKeyDown, &key);
        const std::int32_t before = r.blocker->exchange(r.blockedValue);
        EXPECT_EQ(fresh.onKeyEvent(0, kWmKeyUp, &key), HookVerdict::ReturnZero);
        r.blocker->store(before);
        EXPECT_EQ(fresh.armed(), r.rearmed) << std::hex << r.key;
        EXPECT_EQ(fresh.rememberedKey(), r.rearmed ? kNoKey : r.key) << std::hex << r.key;

        // Unblocked again: a still-disarmed panel acts only after that key went down and up.
        std::uint32_t other = 0x32;
        const std::size_t posts = target.posts.size();
        fresh.onKeyEvent(0, kWmKeyDown, &other);
        EXPECT_EQ(target.posts.size(), posts + (r.rearmed ? 1 : 0)) << std::hex << r.key;
        fresh.onKeyEvent(0, kWmKeyUp, &other);
        if (!r.rearmed) {
            fresh.onKeyEvent(0, kWmKeyDown, &key);
            fresh.onKeyEvent(0, kWmKeyUp, &key);
            EXPECT_TRUE(fresh.armed()) << std::hex << r.key;
            EXPECT_EQ(target.posts.size(), posts) << std::hex << r.key;
        }
    }
}

TEST_F(Shortcuts, NegativeCodeNullEventNoPanelAndSysKeys) {
    std::uint32_t vk = 0x31;
    EXPECT_EQ(keys.onKeyEvent(-1, kWmKeyDown, &vk), HookVerdict::PassOn);
    EXPECT_EQ(keys.onKeyEvent(0, kWmKeyDown, nullptr), HookVerdict::ReturnZero);
    EXPECT_EQ(keys.onKeyEvent(0, kWmSysKeyDown, &vk), HookVerdict::PassOn);
    EXPECT_TRUE(keys.armed());  // Alt combinations neither act nor disarm
    keys.setTarget(nullptr);
    EXPECT_EQ(down(0x31), HookVerdict::PassOn);
    EXPECT_TRUE(keys.armed());
    EXPECT_TRUE(target.posts.empty());
}

TEST_F(Shortcuts, PanelWithoutWindowDisarmsButPostsNothing) {
    target.window = false;
    down(0x31);
    EXPECT_TRUE(target.posts.empty());
    EXPECT_FALSE(keys.armed());
    EXPECT_EQ(keys.rememberedKey(), kNoKey);  // nothing remembered: only another arming helps
}

}  // namespace
}  // namespace quelt

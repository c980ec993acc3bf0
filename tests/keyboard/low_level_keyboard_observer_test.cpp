// The Windows observer: keys injected with SendInput from another thread reach the hook on the
// thread that installed it while that thread handles its messages.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>
#include <utility>
#include <vector>

#include "platform/keyboard/keyboard_observer.h"

namespace quelt {
namespace {

using Event = std::pair<std::uint32_t, std::uint32_t>;  // message, virtual key

// The keys these tests type. Other programs of the same session may inject keys too; theirs
// are ignored.
bool typedHere(std::uint32_t key) {
    return (key >= '2' && key <= '6') || key == VK_F12 || key == VK_ESCAPE;
}

void pumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Presses and releases `keys` from another thread (SendInput waits for the hooks, which run
// on this thread), handling this thread's messages meanwhile and for `settle` afterwards.
void typeKeys(const std::vector<WORD>& keys, std::chrono::milliseconds settle) {
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        inputs.push_back(input);
    }
    for (WORD key : keys) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    std::atomic<bool> sent{false};
    std::thread sender([&inputs, &sent] {
        for (INPUT& input : inputs) {
            SendInput(1, &input, sizeof(INPUT));
        }
        sent = true;
    });
    while (!sent) {
        pumpMessages();
        Sleep(1);
    }
    sender.join();
    const auto until = std::chrono::steady_clock::now() + settle;
    while (std::chrono::steady_clock::now() < until) {
        pumpMessages();
        Sleep(2);
    }
}

class LowLevelKeyboardObserverTest : public ::testing::Test {
  protected:
    KeyCallback recorder(KeyPassing verdict = KeyPassing::PassOn) {
        return [this, verdict](std::uint32_t message, std::uint32_t key) {
            if (typedHere(key)) {
                events_.emplace_back(message, key);
            }
            return verdict;
        };
    }

    std::unique_ptr<KeyboardObserver> observer_ = makeKeyboardObserver();
    std::vector<Event> events_;
};

TEST_F(LowLevelKeyboardObserverTest, KeysArriveInOrderWithTheirMessages) {
    ASSERT_TRUE(observer_->install(recorder()));
    typeKeys({'2', VK_F12}, std::chrono::milliseconds(50));
    EXPECT_EQ(events_,
              (std::vector<Event>{{0x100, '2'}, {0x100, VK_F12}, {0x101, '2'}, {0x101, VK_F12}}));

    // Returning zero stops the chain, but the events keep coming.
    ASSERT_TRUE(observer_->install(recorder(KeyPassing::ReturnZero)));
    events_.clear();
    typeKeys({VK_ESCAPE}, std::chrono::milliseconds(50));
    EXPECT_EQ(events_, (std::vector<Event>{{0x100, VK_ESCAPE}, {0x101, VK_ESCAPE}}));
}

TEST_F(LowLevelKeyboardObserverTest, OneObserverAtATimeAndNothingAfterRemove) {
    ASSERT_TRUE(observer_->install(recorder()));
    EXPECT_FALSE(makeKeyboardObserver()->install(recorder()));
    // Reinstalling and installing again keep a single hook: each key arrives once.
    EXPECT_TRUE(observer_->reinstall());
    ASSERT_TRUE(observer_->install(recorder()));
    EXPECT_TRUE(observer_->reinstall());
    typeKeys({'3'}, std::chrono::milliseconds(50));
    EXPECT_EQ(events_, (std::vector<Event>{{0x100, '3'}, {0x101, '3'}}));

    observer_->remove();
    EXPECT_FALSE(observer_->isInstalled());
    EXPECT_FALSE(observer_->reinstall());
    events_.clear();
    typeKeys({'3'}, std::chrono::milliseconds(100));
    EXPECT_TRUE(events_.empty());
    EXPECT_TRUE(makeKeyboardObserver()->install(recorder()));
}

TEST_F(LowLevelKeyboardObserverTest, CallbackMayReinstallReplaceAndRemove) {
    int calls = 0;
    ASSERT_TRUE(observer_->install([&](std::uint32_t message, std::uint32_t key) {
        if (!typedHere(key)) {
            return KeyPassing::PassOn;
        }
        ++calls;
        events_.emplace_back(message, key);
        if (message == 0x101) {
            EXPECT_TRUE(observer_->reinstall());  // as the shortcuts do on every release
        }
        return KeyPassing::PassOn;
    }));
    typeKeys({'4', '5'}, std::chrono::milliseconds(50));
    EXPECT_EQ(calls, 4);

    events_.clear();
    ASSERT_TRUE(observer_->install([this](std::uint32_t message, std::uint32_t key) {
        if (!typedHere(key)) {
            return KeyPassing::PassOn;
        }
        events_.emplace_back(message, key);
        observer_->install(recorder());  // replaces the running callback
        observer_->remove();
        return KeyPassing::PassOn;
    }));
    typeKeys({'6'}, std::chrono::milliseconds(100));
    EXPECT_EQ(events_, (std::vector<Event>{{0x100, '6'}}));
}

// Hooks of the test around the observer's hook: the last one installed runs first.
std::atomic<int> nullEventsAfterObserver{0};
std::atomic<int> eventsAfterObserver{0};

LRESULT CALLBACK tailHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code >= 0 && lParam == 0) {
        ++nullEventsAfterObserver;
    } else if (code >= 0 && typedHere(reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam)->vkCode)) {
        ++eventsAfterObserver;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Hands every typed key on to the observer without its event record.
LRESULT CALLBACK headHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code >= 0 && lParam != 0 &&
        typedHere(reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam)->vkCode)) {
        CallNextHookEx(nullptr, code, wParam, 0);
        return 0;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(LowLevelKeyboardObserverTest, AnEventWithoutItsRecordIsAnsweredWithZeroAndNotHandedOn) {
    HHOOK tail = SetWindowsHookExW(WH_KEYBOARD_LL, &tailHook, GetModuleHandleW(nullptr), 0);
    ASSERT_NE(tail, nullptr);
    ASSERT_TRUE(observer_->install(recorder()));
    HHOOK head = SetWindowsHookExW(WH_KEYBOARD_LL, &headHook, GetModuleHandleW(nullptr), 0);
    ASSERT_NE(head, nullptr);
    nullEventsAfterObserver = 0;
    eventsAfterObserver = 0;

    typeKeys({'2'}, std::chrono::milliseconds(50));
    EXPECT_TRUE(events_.empty());  // the callback never sees a key it cannot read
    EXPECT_EQ(nullEventsAfterObserver.load(), 0);

    // Without the head hook the same keys pass through the observer to the hook after it.
    UnhookWindowsHookEx(head);
    typeKeys({'2'}, std::chrono::milliseconds(50));
    EXPECT_EQ(events_, (std::vector<Event>{{0x100, '2'}, {0x101, '2'}}));
    EXPECT_EQ(eventsAfterObserver.load(), 2);
    UnhookWindowsHookEx(tail);
}

}  // namespace
}  // namespace quelt

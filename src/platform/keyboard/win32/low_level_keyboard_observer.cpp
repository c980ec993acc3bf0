// System-wide keys on Windows: a low-level keyboard hook for all threads, installed on the UI
// thread. The system calls the hook procedure on that thread while it retrieves messages.
#include <windows.h>

#include <memory>
#include <utility>

#include "platform/keyboard/keyboard_observer.h"

namespace quelt {

namespace {

// Owns one installed hook.
class HookHandle {
  public:
    HookHandle() = default;
    explicit HookHandle(HHOOK hook) : hook_(hook) {}
    ~HookHandle() { reset(); }
    HookHandle(HookHandle&& other) noexcept : hook_(std::exchange(other.hook_, nullptr)) {}
    HookHandle& operator=(HookHandle&& other) noexcept {
        if (this != &other) {
            reset();
            hook_ = std::exchange(other.hook_, nullptr);
        }
        return *this;
    }
    HookHandle(const HookHandle&) = delete;
    HookHandle& operator=(const HookHandle&) = delete;

    explicit operator bool() const { return hook_ != nullptr; }
    void reset() {
        if (hook_ != nullptr) {
            UnhookWindowsHookEx(hook_);
            hook_ = nullptr;
        }
    }

  private:
    HHOOK hook_ = nullptr;
};

LRESULT CALLBACK lowLevelKeyboardProc(int code, WPARAM wParam, LPARAM lParam);

class LowLevelKeyboardObserver;
LowLevelKeyboardObserver* installedObserver = nullptr;

HookHandle installHook() {
    return HookHandle(
        SetWindowsHookExW(WH_KEYBOARD_LL, &lowLevelKeyboardProc, GetModuleHandleW(nullptr), 0));
}

class LowLevelKeyboardObserver final : public KeyboardObserver {
  public:
    ~LowLevelKeyboardObserver() override { remove(); }

    bool install(KeyCallback callback) override {
        if (installedObserver != nullptr && installedObserver != this) {
            return false;
        }
        if (!replaceHook()) {
            return false;
        }
        callback_ = std::make_shared<const KeyCallback>(std::move(callback));
        installedObserver = this;
        return true;
    }

    bool reinstall() override { return hook_ && replaceHook(); }

    void remove() override {
        hook_.reset();
        callback_.reset();
        if (installedObserver == this) {
            installedObserver = nullptr;
        }
    }

    bool isInstalled() const override { return static_cast<bool>(hook_); }

    std::shared_ptr<const KeyCallback> callback() const { return callback_; }

  private:
    // The new hook goes in before the old one (if any) comes out, so no key slips through.
    // On failure the old hook stays.
    bool replaceHook() {
        HookHandle hook = installHook();
        if (!hook) {
            return false;
        }
        hook_ = std::move(hook);
        return true;
    }

    HookHandle hook_;
    std::shared_ptr<const KeyCallback> callback_;
};

LRESULT CALLBACK lowLevelKeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code >= 0 && lParam == 0) {
        return 0;  // no event to look at: answered at once and not handed on
    }
    if (code >= 0 && installedObserver != nullptr) {
        const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        // A copy: the callback may remove or replace the observer while it runs.
        const std::shared_ptr<const KeyCallback> callback = installedObserver->callback();
        if (callback && *callback &&
            (*callback)(static_cast<std::uint32_t>(wParam),
                        static_cast<std::uint32_t>(event->vkCode)) == KeyPassing::ReturnZero) {
            return 0;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

std::unique_ptr<KeyboardObserver> makeKeyboardObserver() {
    return std::make_unique<LowLevelKeyboardObserver>();
}

}  // namespace quelt

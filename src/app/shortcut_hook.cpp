#include "app/shortcut_hook.h"

#include <iostream>
#include <utility>

#include "base/debug_trace.h"
#include "panel/window/frame_main.h"

namespace quelt {

ShortcutHook::ShortcutHook(std::unique_ptr<KeyboardObserver> observer)
    : observer_(std::move(observer)) {}

ShortcutHook::~ShortcutHook() {
    remove();
}

bool ShortcutHook::install() {
    if (!observer_) {
        return false;
    }
    shortcuts_.setTarget(this);
    const bool installed =
        observer_->install([this](std::uint32_t message, std::uint32_t virtualKey) {
            const HookVerdict verdict = shortcuts_.onKeyEvent(0, message, &virtualKey);
            return verdict == HookVerdict::PassOn ? KeyPassing::PassOn : KeyPassing::ReturnZero;
        });
    if (!installed) {
        shortcuts_.setTarget(nullptr);
        return false;
    }
    std::string notice = observer_->notice();
    if (!notice.empty() && notice != notice_) {
        std::cerr << notice << '\n';
        debugTrace(true, "%s", notice.c_str());
        notice_ = std::move(notice);
    }
    return true;
}

void ShortcutHook::remove() {
    if (observer_) {
        observer_->remove();
    }
}

bool ShortcutHook::hasWindow() const {
    return panel_ != nullptr && panel_->host().isCreated();
}

void ShortcutHook::post(std::uint32_t message, std::uintptr_t wParam) {
    if (panel_ != nullptr) {
        panel_->post(message, wParam);
    }
}

void ShortcutHook::reinstallHook() {
    if (observer_) {
        observer_->reinstall();
    }
}

}  // namespace quelt

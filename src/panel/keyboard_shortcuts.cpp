#include "panel/keyboard_shortcuts.h"

#include "base/key_codes.h"

#include "base/debug_trace.h"
#include "device/flags.h"
#include "panel/panel_messages.h"

namespace quelt {

namespace {
using vk::kDigit1;
using vk::kDigit6;
using vk::kEscape;
using vk::kF1;
using vk::kF12;
using vk::kF6;
constexpr std::uintptr_t kHwResetButtonIndex = 1;

void traceKeyDown(std::uint32_t key) {
    if (key == kEscape) {
        debugTrace(false, "KeyHook - Down - ESC");
    } else if (key == kF12) {
        debugTrace(false, "KeyHook - Down - F12");
    } else if ((key >= kDigit1 && key <= kDigit6) || (key >= kF1 && key <= kF6)) {
        debugTrace(false, "KeyHook - Down - 0x%x", static_cast<unsigned>(key));
    }
}
}  // namespace

std::optional<ShortcutMessage> shortcutForKey(std::uint32_t key) {
    if (key == kEscape) {
        return ShortcutMessage{msg::KeyAllOff, 0};
    }
    if (key >= kDigit1 && key <= kDigit6) {
        return ShortcutMessage{msg::KeyPattern, key};
    }
    if (key >= kF1 && key <= kF6) {
        return ShortcutMessage{msg::KeyRgbwPattern, key};
    }
    if (key == kF12) {
        return ShortcutMessage{msg::HwResetButton, kHwResetButtonIndex};
    }
    return std::nullopt;
}

HookVerdict KeyboardShortcuts::onKeyEvent(int hookCode, std::uint32_t message,
                                          const std::uint32_t* virtualKey) {
    if (hookCode < 0) {
        return HookVerdict::PassOn;
    }
    if (virtualKey == nullptr) {
        return HookVerdict::ReturnZero;
    }
    if (shortcutsEnabled.load() == 0 || workerBusy.load() != 0 || patternActive.load() != 0 ||
        escapeInProgress.load() != 0) {
        // The release of F12 falls into the reset that F12 started: it still re-arms, or no
        // shortcut would act again until F12 had been pressed once more. Any other release
        // while the shortcuts are blocked leaves them disarmed with the key remembered.
        if (message == kWmKeyUp && *virtualKey == rememberedKey_ && rememberedKey_ == kF12 &&
            workerBusy.load() != 0) {
            rememberedKey_ = kNoKey;
            armed_ = 1;
        }
        return HookVerdict::ReturnZero;
    }
    if (target_ == nullptr) {
        return HookVerdict::PassOn;
    }
    const std::uint32_t key = *virtualKey;
    if (message == kWmKeyDown) {
        if (armed_ != 0 && target_->hasWindow()) {
            if (auto shortcut = shortcutForKey(key)) {
                target_->post(shortcut->message, shortcut->wParam);
                traceKeyDown(key);
            }
            rememberedKey_ = key;
        }
        armed_ = 0;
        debugTrace(false, "KeyHook - DW2");
        return HookVerdict::PassOn;
    }
    if (message == kWmKeyUp && key == rememberedKey_) {
        rememberedKey_ = kNoKey;
        armed_ = 1;
        target_->reinstallHook();
        debugTrace(false, "KeyHook - UP2");
    }
    return HookVerdict::PassOn;
}

}  // namespace quelt

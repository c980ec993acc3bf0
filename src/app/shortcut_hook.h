#pragma once
// The keyboard shortcuts wired to the panel: the platform's system-wide key observer feeds the
// shortcut rules, which post their messages to the panel.
#include <cstdint>
#include <memory>
#include <string>

#include "panel/keyboard_shortcuts.h"
#include "platform/keyboard/keyboard_observer.h"

namespace quelt {

class CGUIGDIPlusMfcFrameMain;

class ShortcutHook : public ShortcutTarget {
  public:
    explicit ShortcutHook(std::unique_ptr<KeyboardObserver> observer);
    ~ShortcutHook() override;
    ShortcutHook(const ShortcutHook&) = delete;
    ShortcutHook& operator=(const ShortcutHook&) = delete;

    // The panel the shortcuts address from the next install on.
    void attach(CGUIGDIPlusMfcFrameMain* panel) { panel_ = panel; }
    // Starts observing keys; false when the platform cannot (the panel runs without shortcuts).
    // The observer's notice goes to stderr and the debug trace once, and again if it changes.
    bool install();
    void remove();

    // ShortcutTarget
    bool hasWindow() const override;
    void post(std::uint32_t message, std::uintptr_t wParam) override;
    void reinstallHook() override;

  private:
    std::unique_ptr<KeyboardObserver> observer_;
    KeyboardShortcuts shortcuts_;
    CGUIGDIPlusMfcFrameMain* panel_ = nullptr;
    std::string notice_;  // the last notice told
};

}  // namespace quelt

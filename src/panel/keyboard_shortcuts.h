#pragma once
// The decision logic of the system-wide keyboard shortcuts, free of any platform: the platform
// observer (a low-level hook on Windows, raw key events on X11) feeds every key event here and
// passes it on untouched; this decides which panel message, if any, a key press posts.
#include <cstdint>
#include <optional>

namespace quelt {

// Windows message identifiers of low-level keyboard events.
inline constexpr std::uint32_t kWmKeyDown = 0x100;
inline constexpr std::uint32_t kWmKeyUp = 0x101;
inline constexpr std::uint32_t kWmSysKeyDown = 0x104;
inline constexpr std::uint32_t kWmSysKeyUp = 0x105;

inline constexpr std::uint32_t kNoKey = 0xFF;

struct ShortcutMessage {
    std::uint32_t message;
    std::uintptr_t wParam;
};

// The shortcut table: Esc, digits 1-6 of the main row, F1-F6, F12. Everything else: none.
std::optional<ShortcutMessage> shortcutForKey(std::uint32_t virtualKey);

// The panel as the shortcuts see it.
class ShortcutTarget {
public:
    virtual ~ShortcutTarget() = default;
    virtual bool hasWindow() const = 0;
    // Queues a message to the panel; never blocks.
    virtual void post(std::uint32_t message, std::uintptr_t wParam) = 0;
    // Installs the observer again, replacing the previous one (no-op where nothing needs it).
    virtual void reinstallHook() = 0;
};

enum class HookVerdict {
    PassOn,      // hand the event to the next hook and return its result
    ReturnZero,  // return 0 at once without calling the next hook
};

class KeyboardShortcuts {
public:
    // The panel the shortcuts address; null until the panel's start-up succeeded.
    void setTarget(ShortcutTarget* target) { target_ = target; }
    ShortcutTarget* target() const { return target_; }

    // One low-level event: hook code, message identifier, the event's virtual-key code (null
    // when the event pointer is null).
    HookVerdict onKeyEvent(int hookCode, std::uint32_t message, const std::uint32_t* virtualKey);

    bool armed() const { return armed_ != 0; }
    std::uint32_t rememberedKey() const { return rememberedKey_; }

private:
    ShortcutTarget* target_ = nullptr;
    std::int32_t armed_ = 1;
    std::uint32_t rememberedKey_ = kNoKey;
};

}  // namespace quelt

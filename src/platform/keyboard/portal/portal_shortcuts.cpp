#include "platform/keyboard/portal/portal_shortcuts.h"

#include "base/key_codes.h"

namespace quelt::portal {

namespace {

// The ids are the key names, so whatever key the user binds, the id tells the key it stands for.
constexpr PortalShortcut kShortcuts[] = {
    {"Escape", "Escape", vk::kEscape, "Quelt: pattern off on every box"},
    {"1", "1", vk::kDigit1 + 0, "Quelt: test pattern on box 1"},
    {"2", "2", vk::kDigit1 + 1, "Quelt: test pattern on box 2"},
    {"3", "3", vk::kDigit1 + 2, "Quelt: test pattern on box 3"},
    {"4", "4", vk::kDigit1 + 3, "Quelt: test pattern on box 4"},
    {"5", "5", vk::kDigit1 + 4, "Quelt: test pattern on box 5"},
    {"6", "6", vk::kDigit1 + 5, "Quelt: test pattern on box 6"},
    {"F1", "F1", vk::kF1 + 0, "Quelt: RGBW pattern on box 1"},
    {"F2", "F2", vk::kF1 + 1, "Quelt: RGBW pattern on box 2"},
    {"F3", "F3", vk::kF1 + 2, "Quelt: RGBW pattern on box 3"},
    {"F4", "F4", vk::kF1 + 3, "Quelt: RGBW pattern on box 4"},
    {"F5", "F5", vk::kF1 + 4, "Quelt: RGBW pattern on box 5"},
    {"F6", "F6", vk::kF1 + 5, "Quelt: RGBW pattern on box 6"},
    {"F12", "F12", vk::kF12, "Quelt: hardware reset"},
};

}  // namespace

std::span<const PortalShortcut> panelShortcuts() {
    return kShortcuts;
}

std::uint32_t virtualKeyForShortcut(std::string_view id) {
    for (const PortalShortcut& shortcut : kShortcuts) {
        if (id == shortcut.id) {
            return shortcut.virtualKey;
        }
    }
    return 0;
}

}  // namespace quelt::portal

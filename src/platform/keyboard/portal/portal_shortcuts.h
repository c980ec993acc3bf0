#pragma once
// The shortcuts the panel binds through the desktop portal: Esc, the digits 1-6, F1-F6 and F12,
// each with its id, the trigger it asks for and the virtual-key code its events stand for.
#include <cstdint>
#include <span>
#include <string_view>

namespace quelt::portal {

struct PortalShortcut {
    const char* id;
    const char* trigger;  // the desktop's shortcut notation (a key name)
    std::uint32_t virtualKey;
    const char* description;
};

std::span<const PortalShortcut> panelShortcuts();

// The virtual-key code of the shortcut with `id`; 0 for an id that is not ours.
std::uint32_t virtualKeyForShortcut(std::string_view id);

}  // namespace quelt::portal

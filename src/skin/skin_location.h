#pragma once
// Where the skin folder is found: beside the executable first (a build tree, the Windows
// install, an unpacked zip), then in ../share/quelt relative to it (an installed or relocated
// Linux tree: bin/quelt-panel with share/quelt/GUISkin).
#include <string>

namespace quelt {

// The folder that holds GUISkin for a program in `exeFolder`: `exeFolder` itself when it holds
// GUISkin, else its parent's share/quelt when that holds GUISkin, else `exeFolder` (the skin
// check then fails there and says so).
std::string skinBaseFor(const std::string& exeFolder);

}  // namespace quelt

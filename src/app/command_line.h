#pragma once
// The panel's command line: it takes no settings, only --version and --help.
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace quelt {

// Handles the arguments after the program name. Returns the exit code when the program ends
// here without a window: 0 after --version or --help (text on `out`), 2 for anything else
// (complaint and usage on `err`). Returns nothing when there are no arguments: the panel runs.
std::optional<int> panelCommandLine(const std::vector<std::string>& args, std::ostream& out,
                                    std::ostream& err);

}  // namespace quelt

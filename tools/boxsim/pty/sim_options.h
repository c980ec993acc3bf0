#pragma once
// Command line of quelt-boxsim.
#include <optional>
#include <string>
#include <vector>

#include "tools/boxsim/box_model.h"

namespace quelt::sim {

struct SimOptions {
    std::string portDir;
    std::vector<BoxConfig> boxes;
    std::string logPath;  // empty: no request log
};

inline constexpr const char* kSimUsage =
    "usage: quelt-boxsim --port-dir DIR --box COM:FW:ID[:FAULTS] [--box ...] [--log FILE]\n"
    "  FAULTS: silent, nak=C, badend=C, wrongcode=C, split=MS, delay=MS, garbage=N "
    "(comma-separated; C = command code, 0xFF = status request)\n";

// Parses the arguments after the program name. On failure returns nullopt and sets `error`.
std::optional<SimOptions> parseSimOptions(const std::vector<std::string>& args, std::string& error);

}  // namespace quelt::sim

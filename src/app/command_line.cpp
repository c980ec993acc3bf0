#include "app/command_line.h"

#include "base/shown_text.h"
#include "base/version.h"

namespace quelt {

namespace {

constexpr const char* kUsage =
    "Usage: quelt-panel [--help | --version]\n"
    "\n"
    "The Quelt Control Center: finds Quelt multi-display adapter boxes on the serial ports\n"
    "COM1 to COM14 once Serial COM is switched on, shows the chosen box's settings and writes\n"
    "changes back. One copy runs per user. The skin set is the GUISkin folder beside the\n"
    "program, or ../share/quelt/GUISkin relative to it.\n"
    "\n"
    "  -h, --help     show this help and exit\n"
    "      --version  print the version and exit\n";

}  // namespace

std::optional<int> panelCommandLine(const std::vector<std::string>& args, std::ostream& out,
                                    std::ostream& err) {
    if (args.empty()) {
        return std::nullopt;
    }
    if (args.size() == 1 && args[0] == "--version") {
        out << "quelt-panel " << kVersionString << "\n";
        return 0;
    }
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        out << kUsage;
        return 0;
    }
    err << "quelt-panel: unexpected argument '" << shownText(args[0]) << "'\n" << kUsage;
    return 2;
}

}  // namespace quelt

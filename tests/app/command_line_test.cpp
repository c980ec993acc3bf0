// The panel's command line: --version and --help end the program before any window; anything
// else is refused with exit code 2; no argument runs the panel.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/command_line.h"

namespace quelt {
namespace {

struct Case {
    std::vector<std::string> args;
    int exitCode;        // -1: the panel runs
    const char* out;     // start of standard output
    const char* errHas;  // text standard error contains ("" for none)
};

TEST(PanelCommandLine, VersionAndHelpEndTheProgramOthersAreRefused) {
    const Case cases[] = {
        {{}, -1, "", ""},
        {{"--version"}, 0, "quelt-panel 1.05a\n", ""},
        {{"--help"}, 0, "Usage: quelt-panel [--help | --version]\n", ""},
        {{"-h"}, 0, "Usage: quelt-panel", ""},
        {{"--verbose"}, 2, "", "unexpected argument '--verbose'"},
        {{"--version", "--help"}, 2, "", "unexpected argument '--version'"},
        {{"file.txt"}, 2, "", "unexpected argument 'file.txt'"},
    };
    for (const Case& c : cases) {
        std::ostringstream out;
        std::ostringstream err;
        const auto code = panelCommandLine(c.args, out, err);
        const std::string label = c.args.empty() ? "(none)" : c.args[0];
        EXPECT_EQ(code.value_or(-1), c.exitCode) << label;
        EXPECT_EQ(out.str().rfind(c.out, 0), 0u) << label << ": " << out.str();
        if (c.exitCode != 0) {
            EXPECT_TRUE(out.str().empty()) << label;
        }
        EXPECT_NE(err.str().find(c.errHas), std::string::npos) << label << ": " << err.str();
        if (c.exitCode == 2) {
            EXPECT_NE(err.str().find("Usage: quelt-panel"), std::string::npos) << label;
        } else {
            EXPECT_TRUE(err.str().empty()) << label;
        }
    }
}

}  // namespace
}  // namespace quelt

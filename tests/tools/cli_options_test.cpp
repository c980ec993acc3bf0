#include "tools/cli/cli_options.h"

#include <gtest/gtest.h>

namespace quelt::cli {
namespace {

ParseResult parse(std::vector<std::string> args) {
    return parseCommandLine(args);
}

template <class Args>
Args argsOf(const std::vector<std::string>& line) {
    ParseResult r = parse(line);
    EXPECT_TRUE(r.command) << line[0] << ": " << r.error;
    return r.command ? std::get<Args>(r.command->args) : Args{};
}

TEST(CliOptions, ApplyTakesEveryNamedSettingInBothSpellings) {
    auto r = parse({"apply",    "--box", "2",           "--mode",   "clone",  "--rate=120",
                    "--sync",   "off",   "--res1",      "4",        "--res2", "0",
                    "--hlimit", "250",   "--vlimit=60", "--hbezel", "250",    "--vbezel",
                    "60",       "--id",  "6",           "--json"});
    ASSERT_TRUE(r.command) << r.error;
    EXPECT_TRUE(r.command->common.json);
    const ApplyArgs& c = std::get<ApplyArgs>(r.command->args);
    EXPECT_EQ(c.box, 2);
    EXPECT_FALSE(c.all);
    EXPECT_EQ(c.edits.mode, ModeChoice::Clone);
    EXPECT_EQ(c.edits.rate120, true);
    EXPECT_EQ(c.edits.sync, SyncChoice::Off);
    EXPECT_EQ(c.edits.resolutionDp1, 4);
    EXPECT_EQ(c.edits.resolutionDp2, 0);
    EXPECT_EQ(c.edits.hLimit, 250);
    EXPECT_EQ(c.edits.vLimit, 60);
    EXPECT_EQ(c.edits.hBezel, 250);
    EXPECT_EQ(c.edits.vBezel, 60);
    EXPECT_EQ(c.edits.boxId, 6);

    auto bare = argsOf<ApplyArgs>({"apply"});
    EXPECT_FALSE(bare.edits.mode || bare.edits.rate120 || bare.edits.boxId || bare.edits.hBezel);
    EXPECT_EQ(bare.box, 0);
    EXPECT_TRUE(argsOf<ApplyArgs>({"apply", "--all", "--mode", "1x4"}).all);
    EXPECT_EQ(argsOf<ApplyArgs>({"apply", "--res1", "010"}).edits.resolutionDp1, 10);  // not octal
    // --json may come before the command too.
    EXPECT_TRUE(parse({"--json", "discover"}).command->common.json);
}

TEST(CliOptions, ResetPatternSaveAndRestoreArguments) {
    EXPECT_EQ(argsOf<ResetArgs>({"reset", "sw", "--box", "1"}).kind, ResetChoice::Software);
    EXPECT_EQ(argsOf<ResetArgs>({"reset", "sw", "--box", "1"}).box, 1);
    EXPECT_EQ(argsOf<ResetArgs>({"reset", "hw"}).kind, ResetChoice::Hardware);
    EXPECT_EQ(argsOf<PatternArgs>({"pattern", "rgbw"}).kind, PatternChoice::Rgbw);
    EXPECT_EQ(argsOf<PatternArgs>({"pattern", "off", "--json"}).kind, PatternChoice::Off);
    const auto restore = argsOf<RestoreArgs>({"restore", "-", "--skip-missing", "--dry-run"});
    EXPECT_EQ(restore.file, "-");
    EXPECT_TRUE(restore.dryRun && restore.skipMissing);
    EXPECT_FALSE(argsOf<SaveArgs>({"save", "w.json", "--all"}).box);
    EXPECT_EQ(argsOf<SaveArgs>({"save", "w.json", "--box", "2"}).box, 2);
    for (auto help : {std::vector<std::string>{"--help"}, {"help"}, {"apply", "-h"}}) {
        EXPECT_TRUE(parse(help).help) << help.back();
    }
}

TEST(CliOptions, RefusesWhatTheArgumentsAloneRuleOut) {
    struct Case {
        std::vector<std::string> args;
        const char* error;
    };
    const Case cases[] = {
        {{}, "no command given"},
        {{"explode"}, "unknown command: explode"},
        {{"--json"}, "no command given"},
        {{"apply", "--mode", "3x3"}, "bad value for --mode: 3x3"},
        {{"apply", "--id", "7"}, "bad value for --id: 7"},
        {{"apply", "--id", "0"}, "bad value for --id: 0"},
        {{"apply", "--res1", "14"}, "bad value for --res1: 14"},
        // Decimal digits only: no other base, sign or padding.
        {{"apply", "--res1", "0x3"}, "bad value for --res1: 0x3"},
        {{"apply", "--res1", "+3"}, "bad value for --res1: +3"},
        {{"apply", "--res1", " 3"}, "bad value for --res1:  3"},
        {{"apply", "--res2", "-1"}, nullptr},
        {{"apply", "--rate", "90"}, "bad value for --rate: 90"},
        {{"apply", "--sync", "dp3"}, "bad value for --sync: dp3"},
        {{"apply", "--hlimit", "75"}, "bad value for --hlimit: 75"},
        {{"apply", "--vlimit", "0"}, "bad value for --vlimit: 0"},
        {{"apply", "--hbezel", "251"}, "bad value for --hbezel: 251"},
        {{"apply", "--vbezel", "61"}, "bad value for --vbezel: 61"},
        {{"apply", "--res1"}, nullptr},
        {{"apply", "--all", "--box", "1"}, nullptr},
        {{"apply", "--all", "--id", "2"},
         "--id cannot be used with --all: every box keeps its own ID"},
        {{"apply", "--colour", "red"}, "unknown option for apply: --colour"},
        {{"status", "--box", "6"}, "bad value for --box: 6"},
        {{"status", "--box", "1x"}, "bad value for --box: 1x"},
        {{"status", "--mode", "clone"}, "unknown option for status: --mode"},
        {{"discover", "--box", "1"}, "unknown option for discover: --box"},
        {{"reset"}, "reset needs hw or sw"},
        {{"reset", "cold"}, "unknown reset kind: cold"},
        {{"reset", "hw", "sw"}, "unexpected argument for reset: sw"},
        {{"pattern", "blink"}, "unknown pattern kind: blink"},
        {{"pattern", "on", "--all"}, "unknown option for pattern: --all"},
        {{"save"}, "save needs a FILE (- for standard output)"},
        {{"save", "w.json", "--all", "--box", "1"}, nullptr},
        {{"restore", "--dry-run"}, "restore needs a FILE (- for standard input)"},
        {{"restore", "w.json", "--box", "1"}, "unknown option for restore: --box"},
    };
    for (const Case& c : cases) {
        auto r = parse(c.args);
        const std::string line = c.args.empty() ? "(none)" : c.args[0] + " " + c.args.back();
        EXPECT_FALSE(r.command || r.help) << line;
        if (c.error != nullptr) {
            EXPECT_EQ(r.error, c.error) << line;
        } else {
            EXPECT_NE(r.error, "") << line;
        }
    }
    EXPECT_TRUE(parse({"apply", "--colour", "red", "--json"}).json);
    EXPECT_TRUE(parse({"explode"}).showUsage);
    EXPECT_FALSE(parse({"apply", "--mode", "3x3"}).showUsage);
}

}  // namespace
}  // namespace quelt::cli

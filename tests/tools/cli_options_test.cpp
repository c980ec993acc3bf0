#include "tools/cli/cli_options.h"

#include <gtest/gtest.h>

namespace quelt::cli {
namespace {

ParseResult parse(std::vector<std::string> args) {
    return parseCommandLine(args);
}

TEST(CliOptions, ApplyTakesEveryNamedSettingInBothSpellings) {
    auto r = parse({"apply",    "--box", "2",           "--mode",   "clone",  "--rate=120",
                    "--sync",   "off",   "--res1",      "4",        "--res2", "0",
                    "--hlimit", "250",   "--vlimit=60", "--hbezel", "250",    "--vbezel",
                    "60",       "--id",  "6",           "--json"});
    ASSERT_TRUE(r.command) << r.error;
    const CliCommand& c = *r.command;
    EXPECT_EQ(c.verb, Verb::Apply);
    EXPECT_EQ(c.box, 2);
    EXPECT_TRUE(c.json);
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

    auto bare = parse({"apply"});
    ASSERT_TRUE(bare.command);
    EXPECT_FALSE(bare.command->edits.mode || bare.command->edits.rate120 ||
                 bare.command->edits.boxId || bare.command->edits.hBezel);
    EXPECT_EQ(bare.command->box, 0);
}

TEST(CliOptions, ResetAndPatternKinds) {
    EXPECT_EQ(parse({"reset", "sw", "--box", "1"}).command->reset, ResetChoice::Software);
    EXPECT_EQ(parse({"reset", "hw"}).command->reset, ResetChoice::Hardware);
    EXPECT_EQ(parse({"pattern", "rgbw"}).command->pattern, PatternChoice::Rgbw);
    EXPECT_EQ(parse({"pattern", "off", "--json"}).command->pattern, PatternChoice::Off);
    EXPECT_TRUE(parse({"--help"}).help);
}

TEST(CliOptions, RefusesWhatTheArgumentsAloneRuleOut) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"explode"},
        {"apply", "--mode", "3x3"},
        {"apply", "--id", "7"},
        {"apply", "--id", "0"},
        {"apply", "--res1", "14"},
        {"apply", "--res2", "-1"},
        {"apply", "--rate", "90"},
        {"apply", "--sync", "dp3"},
        {"apply", "--hlimit", "75"},
        {"apply", "--vlimit", "0"},
        {"apply", "--hbezel", "251"},
        {"apply", "--vbezel", "61"},
        {"apply", "--res1"},
        {"apply", "--all", "--box", "1"},
        {"apply", "--all", "--id", "2"},
        {"apply", "--colour", "red"},
        {"status", "--box", "6"},
        {"status", "--box", "1x"},
        {"status", "--mode", "clone"},  // settings belong to apply
        {"discover", "--box", "1"},
        {"reset"},
        {"reset", "cold"},
        {"pattern", "blink"},
        {"pattern", "on", "--all"},
    };
    for (const auto& args : bad) {
        auto r = parseCommandLine(args);
        EXPECT_FALSE(r.command) << (args.empty() ? "(none)" : args[0]) << " #" << args.size();
        EXPECT_FALSE(r.error.empty());
    }
}

}  // namespace
}  // namespace quelt::cli

// Wall profiles end to end: quelt-cli save and restore against quelt-boxsim on pseudo-terminals.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <nlohmann/json.hpp>

#include "tests/tools/tool_process.h"

namespace quelt::testing {
namespace {

using Json = nlohmann::json;

class ProfileTest : public ToolsTest {
  protected:
    fs::path file(const char* name) const { return dir_.path() / name; }
    std::string path(const char* name) const { return file(name).string(); }

    // `save` into `name`, which must succeed; the profile it wrote.
    Json save(const char* name) {
        CliResult r = cli({"save", path(name)});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        return Json::parse(readFile(file(name)));
    }
    void write(const char* name, const Json& profile) {
        std::ofstream(file(name)) << profile.dump(2);
    }
    // The requests logged since the first `from` lines.
    std::vector<std::string> logSince(std::size_t from) {
        std::vector<std::string> lines = readLines(log());
        lines.erase(lines.begin(), lines.begin() + static_cast<long>(std::min(from, lines.size())));
        return lines;
    }
};

bool onlyStatusRequests(const std::vector<std::string>& lines) {
    return std::all_of(lines.begin(), lines.end(), [](const std::string& line) {
        return line.find("\"kind\":\"status\"") != std::string::npos;
    });
}

TEST_F(ProfileTest, SaveChangeEveryBoxThenRestoreBringsBackEveryFrame) {
    startSimulator({"3:12:1", "5:12:2", "9:11:3"});
    ASSERT_EQ(cli({"apply", "--box", "0", "--mode", "2x2", "--res1", "3", "--hlimit", "100",
                   "--hbezel", "20"})
                  .exitCode,
              0);
    ASSERT_EQ(cli({"apply", "--box", "1", "--mode", "clone", "--rate", "120", "--sync", "off",
                   "--res1", "4", "--res2", "2", "--vlimit", "30", "--vbezel", "10"})
                  .exitCode,
              0);
    write("wall.json", Json{{"old", true}});  // replaced whole
    const Json profile = save("wall.json");
    const std::vector<std::string> frames = {"ff540c0180000000030300640f1400aa",
                                             "ff540c0222800000040200321e000aaa",
                                             "ff540b0300000000000000320f0000aa"};
    ASSERT_EQ(profile["boxes"].size(), 3u);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        EXPECT_EQ(profile["boxes"][i]["frame"], frames[i]);
    }
    EXPECT_EQ(profile["boxes"][1]["settings"]["mode"], "clone");
    for (const auto& entry : fs::directory_iterator(dir_.path())) {
        EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();  // no temporary file left
    }

    ASSERT_EQ(cli({"apply", "--all", "--mode", "1x4", "--res1", "1", "--hbezel", "5"}).exitCode, 0);
    std::size_t before = readLines(log()).size();
    CliResult dry = cli({"restore", path("wall.json"), "--dry-run"});
    ASSERT_EQ(dry.exitCode, 0) << dry.err;
    EXPECT_NE(dry.out.find("box 1 COM5 FW 12 ID 2: mode 1x4 -> clone, frameRate 60 -> 120, "),
              std::string::npos)
        << dry.out;
    EXPECT_EQ(std::count(dry.out.begin(), dry.out.end(), '\n'), 3);
    EXPECT_TRUE(onlyStatusRequests(logSince(before)));
    EXPECT_EQ(logSince(before).size(), 6u);  // discovery (4), then boxes 1 and 2 read

    CliResult restored = cli({"restore", path("wall.json")});
    ASSERT_EQ(restored.exitCode, 0) << restored.err;
    EXPECT_NE(restored.out.find("box 2 COM9 FW 11 ID 3: restored (mode 1x4 -> 1x2, "),
              std::string::npos)
        << restored.out;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        CliResult status = cli({"status", "--box", std::to_string(i), "--json"});
        EXPECT_EQ(Json::parse(status.out)["frame"], frames[i]) << i;
    }
}

TEST_F(ProfileTest, AFaultyFileExitsTwoBeforeAnythingIsSent) {
    startSimulator({"3:12:1"});
    const Json good = save("good.json");
    Json range = good;
    range["boxes"][0]["settings"]["hBezel"] = 60;  // H limit 50
    write("range.json", range);
    Json future = good;
    future["version"] = 2;
    write("future.json", future);
    std::ofstream(file("corrupt.json")) << readFile(file("good.json")).substr(0, 80);

    const std::size_t before = readLines(log()).size();
    const std::pair<const char*, std::string> cases[] = {
        {"corrupt.json", ": not valid JSON: parse error at line "},
        {"range.json", ": boxes[0] (COM3, ID 1): settings.hBezel: 60 is above hLimit 50"},
        {"future.json", ": version: 2 is not supported"},
    };
    for (const auto& [name, fault] : cases) {
        CliResult r = cli({"restore", path(name)});
        EXPECT_EQ(r.exitCode, 2) << name;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.rfind("quelt-cli: " + path(name) + fault, 0), 0u) << r.err;
    }
    EXPECT_EQ(readLines(log()).size(), before);
}

TEST_F(ProfileTest, AMissingBoxExitsOneUnlessSkippedThenTheOthersAreRestored) {
    startSimulator({"3:12:1", "5:12:2"});
    Json profile = save("wall.json");
    Json third = profile["boxes"][0];
    third["com"] = 7;
    third["boxId"] = 3;
    profile["boxes"].push_back(third);
    write("missing.json", profile);

    std::size_t before = readLines(log()).size();
    CliResult r = cli({"restore", path("missing.json")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "quelt-cli: " + path("missing.json") +
                         ": no box found for boxes[2] (COM7, ID 3); nothing was sent "
                         "(--skip-missing restores the others)\n");
    EXPECT_TRUE(onlyStatusRequests(logSince(before)));

    before = readLines(log()).size();
    r = cli({"restore", path("missing.json"), "--skip-missing"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
              "boxes[2] (COM7, ID 3): missing, skipped\n"
              "box 0 COM3 FW 12 ID 1: restored (unchanged)\n"
              "box 1 COM5 FW 12 ID 2: restored (unchanged)\n");
    // Settings already equal: no ApplySettings, only FinishApply and the status read.
    std::string commands;
    for (const std::string& line : logSince(before)) {
        if (line.find("\"kind\":\"command\"") != std::string::npos) {
            commands += line.substr(0, line.find(",\"frame\"")) + "\n";
        }
    }
    EXPECT_EQ(commands,
              "{\"com\":3,\"kind\":\"command\",\"code\":100,\"name\":\"FinishApply\"\n"
              "{\"com\":5,\"kind\":\"command\",\"code\":100,\"name\":\"FinishApply\"\n");
}

TEST_F(ProfileTest, ABoxFailingMidRestoreStopsItAndIsNamed) {
    startSimulator({"3:12:1", "5:12:2:nak=0", "9:12:3"});
    Json profile = save("wall.json");
    for (Json& box : profile["boxes"]) {
        box["settings"]["vLimit"] = 30;
    }
    write("changed.json", profile);

    const std::size_t before = readLines(log()).size();
    CliResult r = cli({"restore", path("changed.json"), "--json"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err,
              "{\"error\":\"restore stopped at box 1 COM5 FW 12 ID 2 (restored before it: box 0 "
              "COM3 FW 12 ID 1): Panoril apply fail.\\nErrorCode = 0xA001\",\"code\":1}\n");
    const Json report = Json::parse(r.out);
    ASSERT_EQ(report["boxes"].size(), 2u) << r.out;
    EXPECT_EQ(report["boxes"][0]["result"], "restored");
    EXPECT_EQ(report["boxes"][0]["changes"]["vLimit"], (Json{{"old", 15}, {"new", 30}}));
    EXPECT_EQ(report["boxes"][1]["result"], "failed");
    for (const std::string& line : logSince(before)) {
        EXPECT_EQ(line.find("\"com\":9,\"kind\":\"command\""), std::string::npos) << line;
    }
}

}  // namespace
}  // namespace quelt::testing

// quelt-cli against quelt-boxsim on pseudo-terminals: the real serial channel end to end.
#include <gtest/gtest.h>

#include "tests/tools/tool_process.h"

namespace quelt::testing {
namespace {

TEST_F(ToolsTest, DiscoverFindsBoxesOnCom3AndCom12AndTheSimulatorCleansUp) {
    startSimulator({"3:12:2", "12:10:5"});
    EXPECT_TRUE(fs::is_symlink(ports() / "COM3"));
    EXPECT_TRUE(fs::is_symlink(ports() / "COM12"));

    CliResult r = cli({"discover", "--json"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
              "{\"boxes\":[{\"index\":0,\"com\":3,\"firmware\":12,\"boxId\":2},"
              "{\"index\":1,\"com\":12,\"firmware\":10,\"boxId\":5}],\"skipped\":[]}\n");
    EXPECT_EQ(readLines(log()), (std::vector<std::string>{status(3), status(12), status(3)}));

    // The ports can be opened again by the next run.
    r = cli({"status", "--box", "1", "--json"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\"com\":12,\"firmware\":10,\"boxId\":5,\"mode\":\"1x2\""),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\"frame\":\"ff540a0500000000000000320f0000aa\""), std::string::npos);

    EXPECT_EQ(sim_->stop(), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(ports() / "COM3")));
    EXPECT_FALSE(fs::exists(fs::symlink_status(ports() / "COM12")));
}

TEST_F(ToolsTest, ApplySendsTheChosenSettingsThenFinishesAndReadsBack) {
    startSimulator({"5:12:2"});
    CliResult r = cli({"apply", "--mode", "2x2", "--res1", "6", "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\"mode\":\"2x2\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"resolutionDp2Text\":\"2800 x 2100\""), std::string::npos) << r.out;
    EXPECT_EQ(readLines(log()),
              (std::vector<std::string>{
                  status(5), status(5),
                  "{\"com\":5,\"kind\":\"command\",\"code\":0,\"name\":\"ApplySettings\","
                  "\"frame\":\"0054440280000000060600320f0000aa\"}",
                  "{\"com\":5,\"kind\":\"command\",\"code\":100,\"name\":\"FinishApply\","
                  "\"frame\":\"6454440280000000060600320f0000aa\"}",
                  status(5)}));
}

TEST_F(ToolsTest, NegativeReplyGivesExitOneWithTheErrorText) {
    startSimulator({"2:12:1:nak=3"});
    CliResult r = cli({"pattern", "on"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "quelt-cli: Switch to pattern on is fail.\n");
    auto lines = waitForLines(log(), 4);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_NE(lines[2].find("\"name\":\"PatternOn\""), std::string::npos);
    EXPECT_EQ(lines[3], status(2));  // the one status byte after a negative reply

    r = cli({"pattern", "off"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "box 0 COM2 FW 12 ID 1: pattern off\n");
}

TEST_F(ToolsTest, UsageErrorsSendNothing) {
    startSimulator({"3:12:2"});
    for (std::vector<std::string> args : {std::vector<std::string>{"apply", "--mode", "3x1"},
                                          {"apply", "--id", "7"},
                                          {"apply", "--res2", "14"},
                                          {"status", "--verbose"}}) {
        CliResult r = cli(args);
        EXPECT_EQ(r.exitCode, 2) << args[1];
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err, "");
    }
    EXPECT_EQ(readFile(log()), "");
    // Refused after the status read: H limit 50 on this box.
    CliResult r = cli({"apply", "--hbezel", "80"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(readLines(log()), (std::vector<std::string>{status(3), status(3)}));
}

// Silent ports wait out their reply limit together: three of them cost one 20 s limit, not three.
TEST_F(ToolsTest, DiscoverWithSilentPortsTakesOneReplyLimit) {
    startSimulator({"1:12:1:silent", "2:12:1:silent", "3:12:1:silent", "4:12:7"});
    const auto start = std::chrono::steady_clock::now();
    CliResult r = cli({"discover", "--json"});
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const std::string p = ports().string();
    EXPECT_EQ(r.out,
              "{\"boxes\":[{\"index\":0,\"com\":4,\"firmware\":12,\"boxId\":7}],"
              "\"skipped\":[{\"com\":1,\"path\":\"" +
                  p +
                  "/COM1\",\"reason\":\"no-reply\"},"
                  "{\"com\":2,\"path\":\"" +
                  p +
                  "/COM2\",\"reason\":\"no-reply\"},"
                  "{\"com\":3,\"path\":\"" +
                  p + "/COM3\",\"reason\":\"no-reply\"}]}\n");
    EXPECT_GE(took, std::chrono::seconds(20));
    EXPECT_LT(took, std::chrono::seconds(25));
}

// The simulator killed while quelt-cli waits for a reply: the hung-up line ends the wait at once
// (the command's 1 s pause aside), not after the 20 s limit, with the operation's own error.
TEST_F(ToolsTest, KilledSimulatorEndsAWaitingCommandWithinASecond) {
    struct Case {
        const char* name;
        std::string box;
        std::vector<std::string> args;
        std::string awaited;  // the request in the log after which the simulator dies
        std::string error;
    };
    const Case cases[] = {
        {"status read in discovery",
         "1:12:1:delay=5000",
         {"status"},
         status(1),
         "quelt-cli: warning: COM1 (PORTS/COM1): opened, the line hung up before a reply \u2014 "
         "skipped\nquelt-cli: The Serial COM initialize fail.\nPlease check again.\n"},
        {"FinishApply on the worker",
         "2:12:1:delay=1500",
         {"apply"},
         "\"name\":\"FinishApply\"",
         "quelt-cli: Panoril apply fail.\nErrorCode = 0xA003\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::error_code ec;
        fs::remove_all(ports(), ec);
        fs::remove(log(), ec);
        startSimulator({c.box});
        CliProcess cli(ports(), dir_.path(), c.args);
        bool seen = false;
        for (int i = 0; i < 2000 && !seen; ++i) {
            seen = readFile(log()).find(c.awaited) != std::string::npos;
            ::usleep(5000);
        }
        ASSERT_TRUE(seen) << readFile(log());
        const auto killedAt = std::chrono::steady_clock::now();
        sim_->kill();
        const CliResult r = cli.finish();
        // Noticed at once (milliseconds on a quiet machine), not after the 20 s reply limit; the
        // bound leaves room for a loaded machine and sanitizer builds.
        EXPECT_LT(std::chrono::steady_clock::now() - killedAt, std::chrono::seconds(5));
        EXPECT_EQ(r.exitCode, 1);
        std::string error = c.error;
        if (const auto at = error.find("PORTS"); at != std::string::npos) {
            error.replace(at, 5, ports().string());
        }
        EXPECT_EQ(r.err, error);
    }
}

}  // namespace
}  // namespace quelt::testing

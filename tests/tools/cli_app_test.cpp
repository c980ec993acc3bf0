#include "tools/cli/cli_app.h"

#include <sstream>

#include <gtest/gtest.h>

#include "device/flags.h"
#include "tools/boxsim/in_memory_port.h"

namespace quelt::cli {
namespace {

using sim::BoxConfig;
using sim::FakeClock;
using sim::InMemoryBus;

// What one port received, as names: "status" or the command code.
std::vector<std::string> requestsOn(const InMemoryBus& bus, int com) {
    std::vector<std::string> names;
    for (const auto& write : bus.writes(com)) {
        if (write.size() == 1 && write[0] == kStatusRequest) {
            names.push_back("status");
        } else if (write.size() == kFrameSize) {
            names.push_back("cmd" + std::to_string(write[0]));
        } else {
            names.push_back("?");
        }
    }
    return names;
}

using Names = std::vector<std::string>;

class CliAppTest : public ::testing::Test {
  protected:
    void SetUp() override { resetProcessFlags(); }

    BoxConfig& box(int com, std::uint8_t firmware, std::uint8_t id, const char* faults = "") {
        BoxConfig config;
        config.com = com;
        config.firmware = firmware;
        config.boxId = id;
        config.faults = *sim::parseFaults(faults);
        configs_.push_back(config);
        return configs_.back();
    }
    int run(std::vector<std::string> args) {
        for (const BoxConfig& config : configs_) {
            bus_.addBox(config);
        }
        configs_.clear();
        out_.str("");
        err_.str("");
        auto now = [] {
            return std::chrono::system_clock::time_point(std::chrono::seconds(1796911200));
        };
        return runCli(args, CliEnvironment{clock_, bus_.factory(), out_, err_, in_, now});
    }

    FakeClock clock_;
    InMemoryBus bus_{clock_};
    std::vector<BoxConfig> configs_;
    std::ostringstream out_;
    std::ostringstream err_;
    std::istringstream in_;
};

TEST_F(CliAppTest, DiscoverListsTheBoxesInPortOrder) {
    box(12, 11, 3);
    box(3, 12, 2);
    ASSERT_EQ(run({"discover", "--json"}), kExitOk) << err_.str();
    EXPECT_EQ(out_.str(),
              "{\"boxes\":[{\"index\":0,\"com\":3,\"firmware\":12,\"boxId\":2},"
              "{\"index\":1,\"com\":12,\"firmware\":11,\"boxId\":3}],\"skipped\":[]}\n");
    EXPECT_EQ(requestsOn(bus_, 3), (Names{"status", "status"}));
    EXPECT_EQ(requestsOn(bus_, 12), (Names{"status"}));

    ASSERT_EQ(run({"discover"}), kExitOk);
    EXPECT_EQ(out_.str(), "box 0 COM3 FW 12 ID 2\nbox 1 COM12 FW 11 ID 3\n");
}

TEST_F(CliAppTest, StatusOfASelectedBoxShowsItsSettingsAndListTexts) {
    box(2, 10, 1);
    BoxConfig& second = box(6, 12, 4);
    second.settings.setFlags(frame_flags::cloneBit | frame_flags::frameRateBit | 2u | 0x300u);
    second.settings[frame_offset::resolutionDp1] = 4;
    second.settings[frame_offset::resolutionDp2] = kNoChoice;
    second.settings[frame_offset::hLimit] = 150;
    second.settings[frame_offset::vLimit] = 45;
    second.settings[frame_offset::hBezel] = 7;
    second.settings[frame_offset::vBezel] = 9;
    ASSERT_EQ(run({"status", "--box", "1", "--json"}), kExitOk) << err_.str();
    EXPECT_EQ(out_.str(),
              "{\"box\":1,\"com\":6,\"firmware\":12,\"boxId\":4,\"mode\":\"clone\","
              "\"frameRate\":120,\"clockSync\":\"off\",\"resolutionDp1\":4,"
              "\"resolutionDp1Text\":\"1280 x 1024\",\"resolutionDp2\":255,"
              "\"resolutionDp2Text\":null,\"hLimit\":150,\"vLimit\":45,\"hBezel\":7,"
              "\"vBezel\":9,\"flags\":\"0x00008322\","
              "\"frame\":\"ff540c042283000004ff00962d0709aa\"}\n");
    // Discovery reads box 0, selecting box 1 reads it once more; nothing else is sent.
    EXPECT_EQ(requestsOn(bus_, 6), (Names{"status", "status"}));

    ASSERT_EQ(run({"status", "--box", "1"}), kExitOk);
    EXPECT_NE(out_.str().find("box 1 COM6 FW 12 ID 4: mode clone, 120 Hz, sync off, "
                              "DP1 1280 x 1024 [4], DP2 - [255]"),
              std::string::npos)
        << out_.str();
}

TEST_F(CliAppTest, UsageErrorsSendNothingAtAll) {
    box(3, 12, 2);
    for (std::vector<std::string> args : {std::vector<std::string>{"apply", "--mode", "4x4"},
                                          {"apply", "--id", "7"},
                                          {"apply", "--res1", "14"},
                                          {"status", "--frobnicate"},
                                          {"pattern"}}) {
        EXPECT_EQ(run(args), kExitUsage) << args[1];
        EXPECT_NE(err_.str(), "");
    }
    EXPECT_TRUE(bus_.openAttempts().empty());
}

TEST_F(CliAppTest, ValuesTheBoxRulesOutAreRefusedAfterTheStatusRead) {
    BoxConfig& b = box(4, 12, 2);
    b.settings.setFlags(frame_flags::frameRateBit);  // 120 Hz: five resolutions
    EXPECT_EQ(run({"apply", "--res1", "7"}), kExitUsage);
    EXPECT_NE(err_.str().find("beyond the 5 entries"), std::string::npos) << err_.str();
    EXPECT_EQ(run({"apply", "--hbezel", "51"}), kExitUsage);  // H limit 50
    EXPECT_EQ(run({"apply", "--box", "1"}), kExitUsage);      // one box only
    EXPECT_EQ(requestsOn(bus_, 4), (Names(6, "status")));
}

TEST_F(CliAppTest, ApplySendsTheChangedSettingsThenFinishesAndReadsBack) {
    box(3, 12, 2);
    ASSERT_EQ(run({"apply", "--mode", "2x2", "--res1", "3", "--sync", "off", "--json"}), kExitOk)
        << err_.str();
    EXPECT_EQ(requestsOn(bus_, 3), (Names{"status", "status", "cmd0", "cmd100", "status"}));
    const auto writes = bus_.writes(3);
    const std::vector<std::uint8_t> expected = {0x00, 0x54, 0x44, 2,  0x82, 0, 0, 0,
                                                3,    3,    0,    50, 15,   0, 0, 0xAA};
    EXPECT_EQ(writes[2], expected);
    EXPECT_EQ(bus_.box(3)->settings().flags(), 0x82u);
    EXPECT_NE(out_.str().find("\"mode\":\"2x2\""), std::string::npos) << out_.str();
    EXPECT_NE(out_.str().find("\"resolutionDp1Text\":\"2560 x 1600\""), std::string::npos);
}

TEST_F(CliAppTest, ApplyWithOnlyANewIdSkipsApplySettings) {
    box(3, 12, 2);
    ASSERT_EQ(run({"apply", "--id", "5"}), kExitOk) << err_.str();
    EXPECT_EQ(requestsOn(bus_, 3), (Names{"status", "status", "cmd8", "cmd100", "status"}));
    EXPECT_EQ(bus_.writes(3)[2][3], 5);
    EXPECT_EQ(bus_.writes(3)[3][3], 5);  // FinishApply goes to the new ID
    EXPECT_EQ(bus_.box(3)->boxId(), 5);
    EXPECT_NE(out_.str().find("ID 5"), std::string::npos) << out_.str();
}

TEST_F(CliAppTest, ApplyToAllWritesEveryBoxInTableOrder) {
    box(1, 12, 1);
    box(5, 12, 2);
    box(9, 12, 3);
    ASSERT_EQ(run({"apply", "--all", "--vlimit", "60"}), kExitOk) << err_.str();
    EXPECT_EQ(requestsOn(bus_, 1), (Names{"status", "status", "cmd0", "cmd100", "status"}));
    EXPECT_EQ(requestsOn(bus_, 5), (Names{"status", "cmd0", "cmd100", "status"}));
    EXPECT_EQ(requestsOn(bus_, 9), (Names{"status", "cmd0", "cmd100", "status"}));
    EXPECT_EQ(bus_.box(9)->settings()[frame_offset::vLimit], 60);
    EXPECT_EQ(out_.str(), "applied to 3 boxes\n");
}

TEST_F(CliAppTest, FailuresPrintTheirErrorTextAndExitOne) {
    box(3, 12, 2, "nak=0");
    EXPECT_EQ(run({"apply", "--mode", "clone"}), kExitFailed);
    EXPECT_EQ(err_.str(), "quelt-cli: Panoril apply fail.\nErrorCode = 0xA001\n");
    EXPECT_EQ(out_.str(), "");
    // The negative reply is followed by one status byte whose answer is not awaited.
    EXPECT_EQ(requestsOn(bus_, 3), (Names{"status", "status", "cmd0", "status"}));
}

TEST_F(CliAppTest, UnderJsonAFailureIsAnErrorObjectWithItsExitCode) {
    box(3, 12, 2, "nak=0");
    struct Case {
        std::vector<std::string> args;
        int code;
        const char* err;
    };
    const Case cases[] = {
        {{"apply", "--mode", "clone", "--json"},
         kExitFailed,
         "{\"error\":\"Panoril apply fail.\\nErrorCode = 0xA001\",\"code\":1}\n"},
        // No usage text under --json, and what the user typed is escaped.
        {{"--json", "apply", "--mode", "4\x01\"x"},
         kExitUsage,
         "{\"error\":\"bad value for --mode: 4\\\\x01\\\"x\",\"code\":2}\n"},
        {{"apply", "--box", "3", "--json"},
         kExitUsage,
         "{\"error\":\"no box 3: 1 found; no command was sent\",\"code\":2}\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(run(c.args), c.code) << c.args[1];
        EXPECT_EQ(err_.str(), c.err);
        EXPECT_EQ(out_.str(), "");
    }
}

TEST_F(CliAppTest, AProfileGoesToStandardOutputAndComesBackFromStandardInput) {
    box(3, 12, 1);
    box(4, 12, 2);
    ASSERT_EQ(run({"save", "-", "--box", "1"}), kExitOk) << err_.str();
    const std::string profile = out_.str();
    EXPECT_NE(profile.find("\"saved\": \"2026-12-10T14:00:00Z\""), std::string::npos) << profile;
    EXPECT_NE(profile.find("\"com\": 4"), std::string::npos);
    EXPECT_EQ(profile.find("\"com\": 3"), std::string::npos);  // box 1 only
    in_.str(profile);
    ASSERT_EQ(run({"restore", "-", "--dry-run"}), kExitOk) << err_.str();
    EXPECT_EQ(out_.str(), "box 1 COM4 FW 12 ID 2: unchanged\n");
}

TEST_F(CliAppTest, DiscoveryFindingNothingIsErrorZero) {
    EXPECT_EQ(run({"status"}), kExitFailed);
    EXPECT_EQ(err_.str(), "quelt-cli: The Serial COM initialize fail.\nPlease check again.\n");
    EXPECT_EQ(bus_.openAttempts().size(), 14u);
}

TEST_F(CliAppTest, ResetsAndPatternsUseTheirCommandsAndErrors) {
    box(3, 12, 2);
    box(4, 12, 3, "nak=1,nak=11");
    ASSERT_EQ(run({"reset", "sw"}), kExitOk) << err_.str();
    EXPECT_EQ(requestsOn(bus_, 3), (Names{"status", "status", "cmd2", "status"}));

    EXPECT_EQ(run({"reset", "hw", "--box", "1"}), kExitFailed);
    EXPECT_EQ(err_.str(), "quelt-cli: Panoril hardware reset fail.\nErrorCode = 0xA001\n");

    bus_.clearWrites();
    ASSERT_EQ(run({"pattern", "on", "--box", "1", "--json"}), kExitOk) << err_.str();
    EXPECT_EQ(out_.str(), "{\"box\":1,\"com\":4,\"firmware\":12,\"boxId\":3,\"pattern\":\"on\"}\n");
    EXPECT_TRUE(bus_.box(4)->patternOn());
    ASSERT_EQ(run({"pattern", "off", "--box", "1"}), kExitOk);
    EXPECT_EQ(out_.str(), "box 1 COM4 FW 12 ID 3: pattern off\n");
    EXPECT_FALSE(bus_.box(4)->patternOn());
    EXPECT_EQ(run({"pattern", "rgbw", "--box", "1"}), kExitFailed);
    EXPECT_EQ(err_.str(), "quelt-cli: Switch to pattern on is fail.\n");
    EXPECT_EQ(requestsOn(bus_, 4), (Names{"status", "status", "cmd3", "status", "status", "cmd4",
                                          "status", "status", "cmd11", "status"}));
}

}  // namespace
}  // namespace quelt::cli

#include "base/debug_trace.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quelt {
namespace {

std::vector<std::string> sent;

void recordTrace(const char* text) {
    sent.emplace_back(text);
}

class DebugTraceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        sent.clear();
        previous_ = setTraceSender(&recordTrace);
    }
    void TearDown() override { setTraceSender(previous_); }
    TraceSender previous_ = nullptr;
};

TEST_F(DebugTraceTest, SendSwitchOffDropsTheLine) {
    debugTrace(false, "KeyHook - Down - 0x%x", 0x31);
    EXPECT_TRUE(sent.empty());
}

TEST_F(DebugTraceTest, SendSwitchOnFormatsAndDelivers) {
    debugTrace(true, "KeyHook - Down - 0x%x", 0x7B);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], "KeyHook - Down - 0x7b");
}

TEST_F(DebugTraceTest, LongOutputIsCutAt1023Characters) {
    const std::string longText(1500, 'q');
    debugTrace(true, "%s", longText.c_str());
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], std::string(1023, 'q'));
}

TEST_F(DebugTraceTest, LongTextIsCutAtACharacterNotInsideOne) {
    std::string accented;
    for (int i = 0; i < 1500; ++i) {
        accented += "\xC3\xA9";  // two bytes, one character
    }
    debugTrace(true, "%s", accented.c_str());
    std::string first1023;
    for (int i = 0; i < 1023; ++i) {
        first1023 += "\xC3\xA9";
    }
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], first1023);

    // A character outside the basic plane counts twice and is never split: 1022 + 2 > 1023.
    const std::string clef = "\xF0\x9D\x84\x9E";
    debugTrace(true, "%s%s", std::string(1022, 'a').c_str(), clef.c_str());
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1], std::string(1022, 'a'));
    debugTrace(true, "%s%s", std::string(1021, 'a').c_str(), clef.c_str());
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[2], std::string(1021, 'a') + clef);
}

TEST_F(DebugTraceTest, EveryPointOnSendsLinesWhoseSwitchIsOff) {
    setTraceEverything(true);
    debugTrace(false, "KeyHook - Down - 0x%x", 0x31);
    debugTrace(true, "KeyHook - UP2");
    setTraceEverything(false);
    debugTrace(false, "KeyHook - DW2");
    EXPECT_EQ(sent, (std::vector<std::string>{"KeyHook - Down - 0x31", "KeyHook - UP2"}));
}

TEST_F(DebugTraceTest, WithoutSenderNothingHappens) {
    setTraceSender(nullptr);
    debugTrace(true, "KeyHook - UP2");
    EXPECT_TRUE(sent.empty());
}

}  // namespace
}  // namespace quelt

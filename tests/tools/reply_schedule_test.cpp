#include "tools/boxsim/pty/reply_schedule.h"

#include <gtest/gtest.h>

#include "tools/boxsim/pty/sim_options.h"

namespace quelt::sim {
namespace {

TEST(ReplySchedule, ChunksLeaveWhenDueAndNeverOvertakeEachOther) {
    ReplySchedule schedule;
    schedule.add(1000, {{0, {1, 2}}, {50, {3}}});
    schedule.add(2000, {{0, {4}}});  // due at once, but queued behind the split piece
    std::vector<std::uint8_t> out;
    schedule.takeDue(1000, out);
    EXPECT_EQ(out, (std::vector<std::uint8_t>{1, 2}));
    EXPECT_EQ(schedule.nextDueMicros(), 51000);
    schedule.takeDue(50999, out);
    EXPECT_EQ(out.size(), 2u);
    schedule.takeDue(51000, out);
    EXPECT_EQ(out, (std::vector<std::uint8_t>{1, 2, 3, 4}));
    EXPECT_TRUE(schedule.empty());
    EXPECT_EQ(schedule.nextDueMicros(), -1);
}

TEST(SimOptions, BoxesPortFolderAndLog) {
    std::string error;
    auto options = parseSimOptions(
        {"--port-dir", "/tmp/p", "--box", "3:12:2", "--box", "12:10:1:nak=0,split=5", "--log", "l"},
        error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->portDir, "/tmp/p");
    EXPECT_EQ(options->logPath, "l");
    ASSERT_EQ(options->boxes.size(), 2u);
    EXPECT_EQ(options->boxes[1].com, 12);
    EXPECT_EQ(options->boxes[1].faults.size(), 2u);

    for (std::vector<std::string> bad : {
             std::vector<std::string>{"--box", "3:12:2"},
             {"--port-dir", "/tmp/p"},
             {"--port-dir", "/tmp/p", "--box", "3:12"},
             {"--port-dir", "/tmp/p", "--box", "3:12:2", "--box", "3:10:1"},
             {"--port-dir", "/tmp/p", "--box", "3:12:2:explode"},
             {"--port-dir", "/tmp/p", "--box"},
             {"--port-dir", "/tmp/p", "--box", "3:12:2", "--verbose"},
         }) {
        error.clear();
        EXPECT_FALSE(parseSimOptions(bad, error));
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
}  // namespace quelt::sim

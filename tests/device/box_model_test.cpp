#include "tools/boxsim/box_model.h"

#include <gtest/gtest.h>

namespace quelt::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes command(std::uint8_t code, std::uint8_t id, std::uint8_t hLimit = 50) {
    Bytes frame(kFrameSize, 0);
    frame[0] = code;
    frame[1] = 0x54;
    frame[2] = 0x44;
    frame[3] = id;
    frame[frame_offset::hLimit] = hLimit;
    frame[frame_offset::vLimit] = 15;
    return frame;
}

BoxModel makeBox(const std::string& faults = "") {
    BoxConfig config;
    config.com = 2;
    config.firmware = 12;
    config.boxId = 3;
    config.faults = *parseFaults(faults);
    return BoxModel(config);
}

std::vector<ReplyChunk> feed(BoxModel& box, const Bytes& bytes) {
    return box.receive(bytes.data(), bytes.size());
}

TEST(BoxModel, AnswersStatusAndEchoesCommands) {
    BoxModel box = makeBox();
    auto replies = feed(box, {kStatusRequest});
    ASSERT_EQ(replies.size(), 1u);
    const Bytes& status = replies[0].bytes;
    ASSERT_EQ(status.size(), kFrameSize);
    EXPECT_EQ(status[0], 0xFF);
    EXPECT_EQ(status[1], 0x54);
    EXPECT_EQ(status[2], 12);
    EXPECT_EQ(status[3], 3);
    EXPECT_EQ(status[frame_offset::hLimit], 50);
    EXPECT_EQ(status[15], 0xAA);

    // A command in pieces; a 0xFF inside a command is data, not a status request.
    Bytes apply = command(0, 3, 0xFF);
    ASSERT_TRUE(box.receive(apply.data(), 5).empty());
    replies = box.receive(apply.data() + 5, 11);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].bytes[0], 0);
    EXPECT_EQ(replies[0].bytes[15], 0xAA);
    EXPECT_EQ(box.settings()[frame_offset::hLimit], 0xFF);
    EXPECT_EQ(box.requests().size(), 2u);
}

TEST(BoxModel, TracksIdAndPatterns) {
    BoxModel box = makeBox();
    feed(box, command(8, 5));
    EXPECT_EQ(box.boxId(), 5);
    feed(box, command(3, 5));
    EXPECT_TRUE(box.patternOn());
    feed(box, command(11, 5));
    EXPECT_TRUE(box.rgbwPatternOn());
    EXPECT_FALSE(box.patternOn());
    feed(box, command(4, 5));
    EXPECT_FALSE(box.rgbwPatternOn());
    // Settings bytes change only with ApplySettings or FinishApply.
    feed(box, command(2, 5, 200));
    EXPECT_EQ(box.settings()[frame_offset::hLimit], 50);
    feed(box, command(100, 5, 200));
    EXPECT_EQ(box.settings()[frame_offset::hLimit], 200);
}

TEST(BoxModel, FaultsShapeTheReplies) {
    BoxModel nak = makeBox("nak=0");
    EXPECT_EQ(feed(nak, command(0, 3, 100))[0].bytes[0], kNegativeReply);
    EXPECT_EQ(nak.settings()[frame_offset::hLimit], 50);  // refused, not taken over
    EXPECT_EQ(feed(nak, {kStatusRequest})[0].bytes[0], 0xFF);

    BoxModel badEnd = makeBox("badend=0xFF");
    EXPECT_NE(feed(badEnd, {kStatusRequest})[0].bytes[15], 0xAA);
    BoxModel wrong = makeBox("wrongcode=3");
    EXPECT_NE(feed(wrong, command(3, 3))[0].bytes[0], 3);
    BoxModel silent = makeBox("silent");
    EXPECT_TRUE(feed(silent, {kStatusRequest}).empty());

    BoxModel split = makeBox("split=30,delay=5,garbage=4");
    auto chunks = feed(split, {kStatusRequest});
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_EQ(chunks[0].bytes.size(), 10u);
    EXPECT_EQ(chunks[0].delayMs, 5);
    EXPECT_EQ(chunks[1].bytes.size(), 6u);
    EXPECT_EQ(chunks[1].delayMs, 35);
    EXPECT_EQ(chunks[2].bytes.size(), 4u);
    EXPECT_EQ(chunks[2].delayMs, 35);
}

TEST(BoxModel, ParsesBoxTextsAndRejectsMalformedOnes) {
    auto config = parseBoxSpec("5:10:1:nak=0x64,delay=20");
    ASSERT_TRUE(config);
    EXPECT_EQ(config->com, 5);
    EXPECT_EQ(config->firmware, 10);
    EXPECT_EQ(config->boxId, 1);
    ASSERT_EQ(config->faults.size(), 2u);
    EXPECT_EQ(config->faults[0].kind, FaultKind::Negative);
    EXPECT_EQ(config->faults[0].code, 100);
    EXPECT_EQ(config->faults[1].ms, 20);
    EXPECT_TRUE(parseBoxSpec("3:12:2"));
    for (const char* bad : {"", "3", "3:12", "0:12:2", "3:256:2", "3:x:2", "3:12:2:", "3:12:2:nak",
                            "3:12:2:silent=1", "3:12:2:loud", "3:12:2:nak=300", "3:12:2:1:2"}) {
        EXPECT_FALSE(parseBoxSpec(bad)) << bad;
    }
}

TEST(BoxModel, RequestsAsJsonLines) {
    Request status;
    status.status = true;
    EXPECT_EQ(requestJson(3, status), R"({"com":3,"kind":"status"})");
    Request apply;
    apply.frame[0] = 0;
    apply.frame[1] = 0x54;
    apply.frame[2] = 0x44;
    apply.frame[3] = 2;
    apply.frame[15] = 0xAA;
    EXPECT_EQ(requestJson(3, apply),
              R"({"com":3,"kind":"command","code":0,"name":"ApplySettings","frame":")"
              R"(005444020000000000000000000000aa"})");
}

}  // namespace
}  // namespace quelt::sim

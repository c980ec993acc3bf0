#include "link_fixture.h"

#include <functional>

namespace quelt::testing {
namespace {

class ExchangeTest : public LinkTest {
  protected:
    void SetUp() override {
        box = &addBox(1, 2);
        connect();
    }
    sim::BoxModel* box = nullptr;
};

TEST_F(ExchangeTest, WrongCodeOrBadEndMarkFailsAtOnceWithoutRetry) {
    for (const char* fault : {"wrongcode=3", "badend=3"}) {
        SCOPED_TRACE(fault);
        setFaults(1, fault);
        bus.clearWrites();
        const std::int64_t start = clock.nowMicros();
        EXPECT_EQ(link.sendCommand(DeviceCommand::PatternOn, 2, 0), 0);
        EXPECT_LT(elapsedMs(start), 5);
        EXPECT_EQ(bus.writes(1).size(), 1u);
    }
    setFaults(1, "wrongcode=0xFF");
    DeviceFrame untouched;
    untouched[0] = 0x42;
    EXPECT_EQ(link.queryStatus(untouched), 0);
    EXPECT_EQ(untouched[0], 0x42);  // written only on success
}

TEST_F(ExchangeTest, NegativeReplyDrainsAndSendsExactlyOneStatusByte) {
    setFaults(1, "nak=4");
    EXPECT_EQ(link.sendCommand(DeviceCommand::PatternOff, 2, 0), 0);
    const auto writes = bus.writes(1);
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(commandCode(writes[0]), 4);
    EXPECT_EQ(writes[1], kStatusByte);
    // The answer to that byte is not awaited; the next exchange drains it away.
    setFaults(1, "");
    clock.sleepMs(5);
    DeviceFrame status;
    EXPECT_EQ(link.queryStatus(status), 1);
    EXPECT_EQ(status, statusOf(*box));
}

TEST_F(ExchangeTest, ReplyInPiecesIsAssembledIntoOneFrame) {
    setFaults(1, "split=7");
    DeviceFrame status;
    EXPECT_EQ(link.queryStatus(status), 1);
    EXPECT_EQ(status, statusOf(*box));
    EXPECT_EQ(link.sendCommand(DeviceCommand::PatternOn, 2, 0), 1);
    // Pieces seconds apart still count while the whole reply is inside the limit.
    setFaults(1, "split=15000");
    EXPECT_EQ(link.sendCommand(DeviceCommand::PatternOff, 2, 0), 1);
}

TEST_F(ExchangeTest, BytesAfterAReplyAreLeftForTheNextDrain) {
    setFaults(1, "garbage=20");
    DeviceFrame status;
    EXPECT_EQ(link.queryStatus(status), 1);
    clock.sleepMs(1);
    EXPECT_EQ(link.queryStatus(status), 1);
    EXPECT_EQ(status, statusOf(*box));
    EXPECT_EQ(link.sendCommand(DeviceCommand::PatternOn, 2, 0), 1);
}

TEST_F(ExchangeTest, TwentySecondLimit) {
    setFaults(1, "delay=19999");
    DeviceFrame status;
    std::int64_t start = clock.nowMicros();
    EXPECT_EQ(link.queryStatus(status), 1);
    EXPECT_EQ(elapsedMs(start), 19999);

    setFaults(1, "silent");
    start = clock.nowMicros();
    EXPECT_EQ(link.queryStatus(status), 0);
    EXPECT_GE(elapsedMs(start), 20000);
    EXPECT_LE(elapsedMs(start), 20002);

    // The pause before the reply wait does not count against the limit.
    setFaults(1, "delay=20500");
    start = clock.nowMicros();
    EXPECT_EQ(link.sendCommand(DeviceCommand::ApplySettings, 2, 1000), 1);
    EXPECT_EQ(elapsedMs(start), 20500);
}

TEST_F(ExchangeTest, CommandIsTheWorkingFrameWithItsHeader) {
    DeviceFrame working = link.workingFrame();
    working[frame_offset::hBezel] = 0xFF;  // a field without a valid choice travels unchanged
    working[10] = 0x33;
    link.setWorkingFrame(working);
    EXPECT_EQ(link.sendCommand(DeviceCommand::RgbwPatternOn, 2, 0), 1);
    const auto writes = bus.writes(1);
    ASSERT_EQ(writes.size(), 1u);
    Bytes expected(working.bytes.begin(), working.bytes.end());
    expected[0] = 11;
    expected[1] = 0x54;
    expected[2] = 0x44;
    expected[3] = 2;
    EXPECT_EQ(writes[0], expected);
    const DeviceFrame after = link.workingFrame();
    EXPECT_EQ(Bytes(after.bytes.begin(), after.bytes.end()), expected);
    EXPECT_TRUE(box->rgbwPatternOn());
}

// A line that drops after taking the request (simulator killed, adapter pulled) fails the
// exchange at once, after any pause, with the operation's own error; the box's frames stay.
TEST_F(ExchangeTest, DroppedLineFailsTheOperationAtOnce) {
    struct Case {
        const char* name;
        std::function<void(DeviceLink&)> run;
        std::string error;
        std::int64_t elapsedMs;
    };
    const Case cases[] = {
        {"select box", [](DeviceLink& l) { l.selectBox(0); }, "error:5", 0},
        {"pattern on", [](DeviceLink& l) { l.patternOnFromSwitch(DeviceCommand::PatternOn); },
         "error:3", 0},
        {"hardware reset", [](DeviceLink& l) { l.resetBox(ResetKind::Hardware); }, "error:6", 1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(link.discoverBoxes(), 1);  // opens the port again
        sink.clear();
        const DeviceFrame before = link.deviceFrame();
        bus.hangUpAfterNextWrite(1);
        const std::int64_t start = clock.nowMicros();
        c.run(link);
        EXPECT_EQ(elapsedMs(start), c.elapsedMs);
        EXPECT_EQ(sink.events("error:"), std::vector<std::string>{c.error});
        EXPECT_EQ(link.deviceFrame(), before);
    }
}

TEST_F(ExchangeTest, RejectedWriteFailsWithoutWaiting) {
    bus.failWrites(1);
    const std::int64_t start = clock.nowMicros();
    DeviceFrame status;
    EXPECT_EQ(link.queryStatus(status), 0);
    EXPECT_EQ(link.sendCommand(DeviceCommand::ApplySettings, 2, 1000), 0);
    EXPECT_EQ(elapsedMs(start), 0);
}

}  // namespace
}  // namespace quelt::testing

namespace quelt::testing {
namespace {

// A port that always claims bytes are ready but never delivers any, as a driver whose reads
// keep failing can.
class ReadyButEmptyPort : public SerialPort {
  public:
    int open(int) override { return open_ = 1; }
    int isOpen() const override { return open_; }
    int write(const std::uint8_t*, std::size_t) override { return 1; }
    std::size_t readAvailable(std::uint8_t*, std::size_t) override { return 0; }
    void close() override { open_ = 0; }
    PortWait waitReadable(std::chrono::microseconds) override { return PortWait::Readable; }

  private:
    int open_ = 0;
};

TEST(ReplyWait, PortThatLiesAboutReadyBytesStillEndsAtTheLimit) {
    sim::FakeClock clock;
    RecordingSink sink;
    DeviceLink link{sink, clock, [] { return std::make_unique<ReadyButEmptyPort>(); }};
    const std::int64_t start = clock.nowMicros();
    EXPECT_EQ(link.discoverBoxes(), 0);
    // The 14 ports are waited on for their full 20 s, six at a time, on the clock: a spin would
    // never move the fake clock and never end.
    EXPECT_EQ((clock.nowMicros() - start) / 1'000'000, 60);
}

}  // namespace
}  // namespace quelt::testing

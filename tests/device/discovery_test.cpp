#include "link_fixture.h"

#include <numeric>

namespace quelt::testing {
namespace {

using DiscoveryTest = LinkTest;

std::vector<int> portRange(int first, int last) {
    std::vector<int> ports(static_cast<std::size_t>(last - first + 1));
    std::iota(ports.begin(), ports.end(), first);
    return ports;
}

TEST_F(DiscoveryTest, NoPortOpens) {
    const std::int64_t start = clock.nowMicros();
    EXPECT_EQ(link.discoverBoxes(), 0);
    EXPECT_EQ(link.boxCount(), 0);
    EXPECT_EQ(bus.openAttempts(), portRange(1, 14));
    EXPECT_EQ(elapsedMs(start), 14);  // the 1 ms pause per port, nothing else
    EXPECT_TRUE(sink.events().empty());
}

TEST_F(DiscoveryTest, BoxesOnCom3AndCom7) {
    sim::BoxModel& first = addBox(3, 4);
    addBox(7, 1);
    bus.addBusyPort(5);
    EXPECT_EQ(link.discoverBoxes(), 1);
    EXPECT_EQ(bus.openAttempts(), portRange(1, 14));
    ASSERT_EQ(link.boxCount(), 2);
    EXPECT_EQ(link.box(0).comPort, 3);
    EXPECT_EQ(link.box(0).boxId, 4);
    EXPECT_EQ(link.box(0).firmware, 13);
    EXPECT_EQ(link.box(1).comPort, 7);
    EXPECT_EQ(link.currentBoxSlot(), 0);
    EXPECT_EQ(link.currentBoxIndex(), 0);
    // Box 0's status fills all three frames; the panel shows it.
    EXPECT_EQ(link.deviceFrame(), statusOf(first));
    EXPECT_EQ(link.workingFrame(), statusOf(first));
    EXPECT_EQ(link.replyFrame(), statusOf(first));
    EXPECT_EQ(sink.events(),
              (std::vector<std::string>{"enabled:1", "show:0:1:FW: 13\nCOM: 3\nBoxID: 4",
                                        "show:1:0:FW: 17\nCOM: 7\nBoxID: 1", "frames",
                                        "bezelEnable", "resolutionEnable", "redraw"}));
    // Each box got its probe and box 0 its final status read.
    EXPECT_EQ(bus.writes(3), (std::vector<Bytes>{kStatusByte, kStatusByte}));
    EXPECT_EQ(bus.writes(7), (std::vector<Bytes>{kStatusByte}));
}

TEST_F(DiscoveryTest, PortsThatAreNotBoxesAreClosedAndSkipped) {
    bus.addForeignDevice(1);
    bus.failWrites(1);               // opens but takes no request
    bus.addForeignDevice(2);         // silent
    addBox(3, 1, "nak=0xFF");        // refuses the status request
    addBox(4, 1, "wrongcode=0xFF");  // answers something else
    addBox(5, 6);
    const std::int64_t start = clock.nowMicros();
    EXPECT_EQ(link.discoverBoxes(), 1);
    ASSERT_EQ(link.boxCount(), 1);
    EXPECT_EQ(link.box(0).comPort, 5);
    EXPECT_EQ(link.box(0).boxId, 6);
    EXPECT_FALSE(bus.isHeld(1));
    EXPECT_FALSE(bus.isHeld(2));
    EXPECT_FALSE(bus.isHeld(3));
    EXPECT_FALSE(bus.isHeld(4));
    EXPECT_EQ(bus.openCount(), 1);
    EXPECT_GE(elapsedMs(start), 20000);  // the silent port cost its whole reply wait
    EXPECT_LT(elapsedMs(start), 20100);
}

TEST_F(DiscoveryTest, SixBoxesAtMostAndTheSeventhPortIsNeverOpened) {
    for (int com = 1; com <= 7; ++com) {
        addBox(com, static_cast<std::uint8_t>(com));
    }
    EXPECT_EQ(link.discoverBoxes(), 1);
    EXPECT_EQ(link.boxCount(), 6);
    EXPECT_EQ(bus.openAttempts(), portRange(1, 6));
    EXPECT_TRUE(bus.writes(7).empty());
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(link.box(i).comPort, i + 1);
    }
}

TEST_F(DiscoveryTest, RediscoveryStartsFromAnEmptyTable) {
    addBox(2, 1);
    addBox(4, 2);
    ASSERT_EQ(link.discoverBoxes(), 1);
    ASSERT_EQ(link.boxCount(), 2);
    link.selectBox(1);

    // COM2 goes quiet: the next run counts from 0 and the COM4 box becomes entry 0.
    setFaults(2, "silent");
    EXPECT_EQ(link.discoverBoxes(), 1);
    EXPECT_EQ(link.boxCount(), 1);
    EXPECT_EQ(link.box(0).comPort, 4);
    EXPECT_EQ(link.currentBoxIndex(), 0);
    EXPECT_FALSE(bus.isHeld(2));

    setFaults(4, "silent");
    EXPECT_EQ(link.discoverBoxes(), 0);
    EXPECT_EQ(link.boxCount(), 0);
    EXPECT_EQ(bus.openCount(), 0);

    setFaults(4, "");
    setFaults(2, "");
    EXPECT_EQ(link.discoverBoxes(), 1);
    EXPECT_EQ(link.boxCount(), 2);
    EXPECT_EQ(link.box(0).comPort, 2);
    EXPECT_EQ(link.box(1).comPort, 4);
    EXPECT_EQ(link.currentBoxIndex(), 0);
    EXPECT_EQ(bus.openCount(), 2);
}

TEST_F(DiscoveryTest, CloseAllGivesEveryPortBackAndHidesTheList) {
    for (int com : {1, 2, 3}) {
        addBox(com, 1);
    }
    connect();
    link.closeAllBoxes();
    EXPECT_EQ(bus.openCount(), 0);
    EXPECT_EQ(link.boxCount(), 0);
    EXPECT_EQ(sink.events(),
              (std::vector<std::string>{"hide:0", "hide:1", "hide:2", "frames", "bezelEnable",
                                        "resolutionEnable", "redraw"}));
    EXPECT_EQ(link.discoverBoxes(), 1);
    EXPECT_EQ(link.boxCount(), 3);
}

TEST(BoxInfoText, ThreeLinesOfUnsignedNumbers) {
    EXPECT_EQ(boxInfoText(255, 14, 6), "FW: 255\nCOM: 14\nBoxID: 6");
}

}  // namespace
}  // namespace quelt::testing

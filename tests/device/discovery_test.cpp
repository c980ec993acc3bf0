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
    bus.addBusyPort(6);  // held by another program
    addBox(7, 2);
    bus.hangUpAfterNextWrite(7);
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
    // Each is reported with its reason, in port order; ports with nothing on them are not.
    std::vector<std::pair<int, std::string>> skipped;
    for (const SkippedPort& port : link.skippedPorts()) {
        skipped.emplace_back(port.comPort, skipReasonName(port.reason));
    }
    EXPECT_EQ(skipped, (std::vector<std::pair<int, std::string>>{{1, "write-failed"},
                                                                 {2, "no-reply"},
                                                                 {3, "negative-reply"},
                                                                 {4, "wrong-reply"},
                                                                 {6, "busy"},
                                                                 {7, "no-reply"}}));
    EXPECT_EQ(skippedPortLine(link.skippedPorts()[1]),
              "COM2: opened, no reply within 20 s \u2014 skipped");
    EXPECT_EQ(skippedPortLine({3, SkipReason::PermissionDenied, "/dev/ttyUSB2",
                               "COM3 (/dev/ttyUSB2): Permission denied"}),
              "COM3 (/dev/ttyUSB2): Permission denied \u2014 skipped");
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

// Several probes in flight: silent ports wait out their 20 s together, the table still fills in
// COM order, and no port is opened while the ports below it could still make six boxes.
struct OverlapCase {
    const char* name;
    std::vector<int> silent;                         // opens, never answers
    std::vector<std::pair<int, std::string>> boxes;  // COM, faults
    std::vector<int> table;                          // COM of entries 0..
    std::vector<int> opened;                         // every open attempt, in order
    std::int64_t seconds;                            // whole seconds discovery took
};

TEST_F(DiscoveryTest, SilentPortsOverlapWithinTheRules) {
    const std::vector<int> all = portRange(1, 14);
    const OverlapCase cases[] = {
        {"four silent and one box: one limit, not four", {1, 2, 3, 4}, {{5, ""}}, {5}, all, 20},
        {"six silent before a box", {1, 2, 3, 4, 5, 6}, {{9, ""}}, {9}, all, 20},
        {"fourteen silent: three rounds of six", all, {}, {}, all, 60},
        {"an answer late within the limit keeps its place in COM order",
         {},
         {{3, ""}, {5, "delay=19999"}, {11, ""}},
         {3, 5, 11},
         all,
         20},
        {"COM7 is never opened while COM1-6 might still answer",
         {},
         {{1, ""}, {2, "delay=500"}, {3, ""}, {4, ""}, {5, ""}, {6, "delay=19000"}, {7, ""}},
         {1, 2, 3, 4, 5, 6},
         portRange(1, 6),
         19},
        {"five boxes leave room for one probe at a time",
         {6, 7},
         {{1, ""}, {2, ""}, {3, ""}, {4, ""}, {5, ""}, {8, ""}, {9, ""}},
         {1, 2, 3, 4, 5, 8},
         portRange(1, 8),
         40},
    };
    for (const OverlapCase& c : cases) {
        SCOPED_TRACE(c.name);
        sim::FakeClock clock;
        sim::InMemoryBus bus{clock};
        RecordingSink sink;
        DeviceLink link{sink, clock, bus.factory()};
        for (int com : c.silent) {
            bus.addForeignDevice(com);
        }
        for (const auto& [com, faults] : c.boxes) {
            sim::BoxConfig config;
            config.com = com;
            config.faults = *sim::parseFaults(faults);
            bus.addBox(config);
        }
        const std::int64_t start = clock.nowMicros();
        EXPECT_EQ(link.discoverBoxes(), c.table.empty() ? 0 : 1);
        std::vector<int> table;
        for (int i = 0; i < link.boxCount(); ++i) {
            table.push_back(link.box(i).comPort);
        }
        EXPECT_EQ(table, c.table);
        EXPECT_EQ(bus.openAttempts(), c.opened);
        EXPECT_EQ(bus.openCount(), static_cast<int>(c.table.size()));  // the others were closed
        EXPECT_EQ((clock.nowMicros() - start) / 1'000'000, c.seconds);
    }
}

TEST_F(DiscoveryTest, PortWhoseLineDropsIsSkippedAtOnce) {
    addBox(2, 1);
    addBox(3, 2);
    bus.hangUpAfterNextWrite(2);  // takes the status request, then the line goes away
    const std::int64_t start = clock.nowMicros();
    EXPECT_EQ(link.discoverBoxes(), 1);
    ASSERT_EQ(link.boxCount(), 1);
    EXPECT_EQ(link.box(0).comPort, 3);
    EXPECT_FALSE(bus.isHeld(2));
    EXPECT_EQ(elapsedMs(start), 14);  // only the pauses: nobody waited for the dead line
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

#include "link_fixture.h"

namespace quelt::testing {
namespace {

class OperationsTest : public LinkTest {
  protected:
    void SetUp() override {
        box = &addBox(1, 1);
        connect();
    }
    std::vector<int> codesWritten(int com) {
        std::vector<int> codes;
        for (const Bytes& write : bus.writes(com)) {
            codes.push_back(write[0]);
        }
        return codes;
    }
    sim::BoxModel* box = nullptr;
};

TEST_F(OperationsTest, ApplyWithNothingChangedSendsOnlyFinishApplyAndStatus) {
    const DeviceFrame before = link.deviceFrame();
    EXPECT_EQ(link.applySettings(), 1);
    EXPECT_EQ(codesWritten(1), (std::vector<int>{100, 0xFF}));
    // FinishApply carries the box's own settings under its header.
    Bytes finish(before.bytes.begin(), before.bytes.end());
    finish[0] = 100;
    finish[1] = 0x54;
    finish[2] = 0x44;
    finish[3] = 1;
    EXPECT_EQ(bus.writes(1)[0], finish);
    EXPECT_EQ(link.deviceFrame(), before);
    EXPECT_EQ(sink.events(), (std::vector<std::string>{"panelToFrame"}));  // no refresh
}

TEST_F(OperationsTest, BezelOnlyChangeTravelsInsideFinishApply) {
    sink.onPanelToFrame = [](DeviceFrame& f) {
        f[frame_offset::hBezel] = 40;
        f[frame_offset::vBezel] = 9;
    };
    EXPECT_EQ(link.applySettings(), 1);
    const auto writes = bus.writes(1);
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(commandCode(writes[0]), 100);
    EXPECT_EQ(writes[0][frame_offset::hBezel], 40);
    EXPECT_EQ(writes[0][frame_offset::vBezel], 9);
    EXPECT_EQ(box->settings()[frame_offset::hBezel], 40);
    EXPECT_EQ(link.deviceFrame(), statusOf(*box));
    EXPECT_EQ(link.workingFrame(), statusOf(*box));
}

TEST_F(OperationsTest, SettingsAndIdChangeSendApplySetIdAndFinishWithTheNewId) {
    sink.onPanelToFrame = [](DeviceFrame& f) {
        f.setFlags(f.flags() | frame_flags::cloneBit);
        f[frame_offset::boxId] = 4;
    };
    EXPECT_EQ(link.applySettings(), 1);
    const auto writes = bus.writes(1);
    ASSERT_EQ(writes.size(), 4u);
    EXPECT_EQ(commandCode(writes[0]), 0);
    EXPECT_EQ(writes[0][3], 1);
    EXPECT_EQ(commandCode(writes[1]), 8);
    EXPECT_EQ(writes[1][3], 4);
    EXPECT_EQ(commandCode(writes[2]), 100);
    EXPECT_EQ(writes[2][3], 4);
    EXPECT_EQ(writes[3], kStatusByte);
    EXPECT_EQ(link.box(0).boxId, 4);
    EXPECT_EQ(box->boxId(), 4);
    EXPECT_TRUE(statusOf(*box).clone());
    EXPECT_EQ(sink.events("info:"), (std::vector<std::string>{"info:0:FW: 11\nCOM: 1\nBoxID: 4"}));
    EXPECT_EQ(link.deviceFrame(), statusOf(*box));
}

TEST_F(OperationsTest, EachFailingApplyStepRaisesItsErrorOnce) {
    struct Case {
        const char* faults;
        int error;
        std::size_t writes;  // including the one 0xFF after the negative reply
    };
    const Case cases[] = {
        {"nak=0", 10, 2}, {"nak=8", 11, 3}, {"nak=100", 12, 4}, {"nak=0xFF", 13, 5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.faults);
        setFaults(1, c.faults);
        bus.clearWrites();
        sink.clear();
        // Settings and ID both differ from what the box reported.
        sink.onPanelToFrame = [](DeviceFrame& f) {
            f[frame_offset::hLimit] = f[frame_offset::hLimit] == 100 ? 150 : 100;
            f[frame_offset::boxId] = f[frame_offset::boxId] == 3 ? 4 : 3;
        };
        const DeviceFrame before = link.deviceFrame();
        EXPECT_EQ(link.applySettings(), 0);
        EXPECT_EQ(sink.events("error:"),
                  (std::vector<std::string>{"error:" + std::to_string(c.error)}));
        EXPECT_EQ(bus.writes(1).size(), c.writes);
        EXPECT_EQ(bus.writes(1).back(), kStatusByte);
        EXPECT_EQ(link.deviceFrame(), before);
        EXPECT_NE(link.workingFrame()[frame_offset::hLimit], before[frame_offset::hLimit]);
        setFaults(1, "");
        ASSERT_EQ(link.selectBox(0), 1);
    }
}

TEST_F(OperationsTest, ResetsReadTheStatusAndShowIt) {
    struct Case {
        ResetKind kind;
        int code;
        int commandError;
        int statusError;
    };
    for (const Case c : {Case{ResetKind::Hardware, 1, 6, 7}, Case{ResetKind::Software, 2, 8, 9}}) {
        SCOPED_TRACE(c.code);
        bus.clearWrites();
        sink.clear();
        EXPECT_EQ(link.resetBox(c.kind), 1);
        EXPECT_EQ(codesWritten(1), (std::vector<int>{c.code, 0xFF}));
        EXPECT_EQ(sink.events(), (std::vector<std::string>{"frames"}));

        setFaults(1, "nak=" + std::to_string(c.code));
        sink.clear();
        EXPECT_EQ(link.resetBox(c.kind), 0);
        EXPECT_EQ(sink.events(),
                  (std::vector<std::string>{"error:" + std::to_string(c.commandError)}));

        setFaults(1, "badend=0xFF");
        sink.clear();
        EXPECT_EQ(link.resetBox(c.kind), 0);
        EXPECT_EQ(sink.events(),
                  (std::vector<std::string>{"error:" + std::to_string(c.statusError)}));
        setFaults(1, "");
    }
}

TEST_F(OperationsTest, PatternSwitchCommandsRaiseErrorsThreeAndFour) {
    EXPECT_EQ(link.patternOnFromSwitch(DeviceCommand::PatternOn), 1);
    EXPECT_TRUE(box->patternOn());
    EXPECT_EQ(link.patternOffFromSwitch(), 1);
    EXPECT_FALSE(box->patternOn());
    EXPECT_EQ(codesWritten(1), (std::vector<int>{3, 4}));
    setFaults(1, "silent");
    EXPECT_EQ(link.patternOnFromSwitch(DeviceCommand::RgbwPatternOn), 0);
    EXPECT_EQ(link.patternOffFromSwitch(), 0);
    EXPECT_EQ(sink.events(), (std::vector<std::string>{"error:3", "error:4"}));
}

class MultiBoxTest : public LinkTest {
  protected:
    void SetUp() override {
        for (int com : {1, 2, 3}) {
            boxes.push_back(&addBox(com, static_cast<std::uint8_t>(com)));
        }
        connect();
    }
    std::vector<sim::BoxModel*> boxes;
};

TEST_F(MultiBoxTest, SyncWritesEveryBoxInTableOrderAndIgnoresTheChosenId) {
    ASSERT_EQ(link.selectBox(1), 1);
    bus.clearWrites();
    link.syncToAll = 1;
    sink.onPanelToFrame = [](DeviceFrame& f) {
        f[frame_offset::vLimit] = 45;
        f[frame_offset::boxId] = 6;
    };
    EXPECT_EQ(link.applySettings(), 1);
    std::vector<std::pair<int, int>> sent;  // (port, code)
    for (const auto& [com, bytes] : bus.writeLog()) {
        sent.emplace_back(com, bytes[0]);
        if (bytes.size() == kFrameSize) {
            EXPECT_EQ(bytes[3], com) << "addressed with the box's own ID";
        }
    }
    EXPECT_EQ(sent, (std::vector<std::pair<int, int>>{{1, 0},
                                                      {1, 100},
                                                      {1, 0xFF},  //
                                                      {2, 0},
                                                      {2, 100},
                                                      {2, 0xFF},  //
                                                      {3, 0},
                                                      {3, 100},
                                                      {3, 0xFF}}));
    for (const sim::BoxModel* b : boxes) {
        EXPECT_EQ(b->settings()[frame_offset::vLimit], 45);
    }
    EXPECT_EQ(link.currentBoxSlot(), 1);
    EXPECT_EQ(link.deviceFrame(), statusOf(*boxes[2]));
    EXPECT_EQ(link.workingFrame(), statusOf(*boxes[2]));
}

TEST_F(MultiBoxTest, SyncStopsAtTheFirstFailingBox) {
    link.syncToAll = 1;
    setFaults(2, "nak=100");
    const DeviceFrame before = link.deviceFrame();
    EXPECT_EQ(link.applySettings(), 0);
    EXPECT_EQ(sink.events("error:"), (std::vector<std::string>{"error:12"}));
    EXPECT_TRUE(bus.writes(3).empty());
    EXPECT_EQ(link.currentBoxSlot(), 0);
    EXPECT_EQ(link.deviceFrame(), before);
}

TEST_F(MultiBoxTest, SelectBoxShowsItsStatusOrRaisesErrorFive) {
    EXPECT_EQ(link.selectBox(2), 1);
    EXPECT_EQ(link.currentBoxIndex(), 2);
    EXPECT_EQ(link.deviceFrame(), statusOf(*boxes[2]));
    EXPECT_EQ(sink.events(),
              (std::vector<std::string>{"frames", "bezelEnable", "resolutionEnable"}));

    setFaults(2, "silent");
    sink.clear();
    EXPECT_EQ(link.selectBox(1), 0);
    EXPECT_EQ(link.currentBoxIndex(), 1);
    EXPECT_EQ(sink.events(), (std::vector<std::string>{"error:5"}));
    EXPECT_EQ(link.deviceFrame(), statusOf(*boxes[2]));
}

TEST_F(MultiBoxTest, SelectBoxOnAClosedChannelOnlyChangesTheCurrentBox) {
    link.closeAllBoxes();
    sink.clear();
    bus.clearWrites();
    EXPECT_EQ(link.selectBox(1), 0);
    EXPECT_EQ(link.currentBoxIndex(), 1);
    EXPECT_EQ(link.currentBoxSlot(), 1);
    EXPECT_TRUE(sink.events().empty());
    EXPECT_TRUE(bus.writeLog().empty());
}

TEST_F(MultiBoxTest, KeyboardPatternGoesToOneBoxThenRereadsTheSelectedOne) {
    link.patternOnBox(3, DeviceCommand::PatternOn);
    link.patternOnBox(-1, DeviceCommand::PatternOn);
    EXPECT_TRUE(bus.writeLog().empty());

    link.patternOnBox(1, DeviceCommand::RgbwPatternOn);
    std::vector<std::pair<int, int>> sent;
    for (const auto& [com, bytes] : bus.writeLog()) {
        sent.emplace_back(com, bytes[0]);
    }
    EXPECT_EQ(sent, (std::vector<std::pair<int, int>>{{2, 11}, {1, 0xFF}}));
    EXPECT_TRUE(boxes[1]->rgbwPatternOn());
    EXPECT_EQ(link.currentBoxSlot(), 0);
    EXPECT_EQ(link.deviceFrame(), statusOf(*boxes[0]));
    EXPECT_TRUE(sink.events().empty());  // no error box, no refresh
}

TEST_F(MultiBoxTest, EscapeSwitchesEveryPatternOffOnce) {
    link.patternOnBox(0, DeviceCommand::PatternOn);
    link.patternOnBox(2, DeviceCommand::RgbwPatternOn);
    bus.clearWrites();
    escapeInProgress = 1;  // another Esc still running
    link.allPatternsOff();
    EXPECT_TRUE(bus.writeLog().empty());
    escapeInProgress = 0;

    setFaults(2, "silent");  // a box that does not answer does not stop the others
    link.allPatternsOff();
    std::vector<std::pair<int, int>> sent;
    for (const auto& [com, bytes] : bus.writeLog()) {
        sent.emplace_back(com, bytes[0]);
    }
    EXPECT_EQ(sent, (std::vector<std::pair<int, int>>{{1, 4}, {2, 4}, {3, 4}, {1, 0xFF}}));
    EXPECT_FALSE(boxes[0]->patternOn());
    EXPECT_FALSE(boxes[2]->rgbwPatternOn());
    EXPECT_EQ(escapeInProgress, 0);
    EXPECT_TRUE(sink.events().empty());
}

}  // namespace
}  // namespace quelt::testing

// Apply and the resets from the panel: the worker's busy state, what reaches the boxes, the error
// boxes, the release of the button, and the start guards.
#include <future>

#include "panel_fixture.h"

namespace quelt::testing {
namespace {

using OperationTest = PanelTest;

TEST_F(OperationTest, ApplyWithNothingChangedSendsOnlyFinishAndStatus) {
    addBox(3, 2);
    connect();
    int busyRedraws = 0;
    window.onRedraw = [&] { busyRedraws += window.busyFlag() != 0 ? 1 : 0; };
    apply();

    EXPECT_EQ(sentCodes(3), (std::vector<int>{kFinishApply, kStatus}));
    EXPECT_EQ(window.busyFlag().load(), 0);
    EXPECT_EQ(workerBusy.load(), 0);
    EXPECT_EQ(busyRedraws, 1);
    EXPECT_EQ(window.redraws, 2);
    EXPECT_EQ(controls.buttons[ctl::kApplyButton].pending, 0);
    EXPECT_FALSE(logic.operationInFlight());
    EXPECT_TRUE(window.errors.empty());
    EXPECT_EQ(window.offUiThreadCalls.load(), 0);
}

TEST_F(OperationTest, BezelOnlyChangeReachesTheBoxInsideFinishApply) {
    BoxSettings s;
    s.flags = 2u;  // OFF, Stretch 1 x 2
    addBox(3, 1, s);
    connect();
    controls.bezelSliders[ctl::kHBezel].SetStop(12);
    send(msg::HBezelSlider, 0);
    EXPECT_EQ(controls.bezelTexts[0].text, "HBezel = 12");
    apply();

    EXPECT_EQ(sentCodes(3), (std::vector<int>{kFinishApply, kStatus}));
    EXPECT_EQ(sentFrames(3)[0][frame_offset::hBezel], 12);
    EXPECT_EQ(bus.box(3)->settings()[frame_offset::hBezel], 12);
}

TEST_F(OperationTest, SettingsAndIdChangesSendApplySetIdAndFinishWithTheNewId) {
    addBox(3, 2);
    addBox(5, 5);
    connect();
    controls.modeGroup[2].state = 1;
    send(msg::ModeGroup, 2);
    controls.deviceIdGroup[3].state = 1;
    send(msg::DeviceIdGroup, 3);
    EXPECT_EQ(working()[frame_offset::boxId], 4);
    EXPECT_TRUE(bus.writeLog().empty());  // nothing is sent before Apply
    apply();

    EXPECT_EQ(sentCodes(3), (std::vector<int>{kApplySettings, kSetBoxId, kFinishApply, kStatus}));
    const std::vector<Bytes> frames = sentFrames(3);
    EXPECT_EQ(frames[0][frame_offset::boxId], 2);
    EXPECT_EQ(frames[1][frame_offset::boxId], 4);
    EXPECT_EQ(frames[2][frame_offset::boxId], 4);
    EXPECT_EQ(frames[0][4] & 0xE0, 0x80);  // Stretch 2 x 2
    EXPECT_EQ(bus.box(3)->boxId(), 4);
    EXPECT_EQ(controls.deviceInfoTexts[0].text, "FW: 23\nCOM: 3\nBoxID: 4");
    EXPECT_EQ(controls.deviceInfoTexts[1].text, "FW: 25\nCOM: 5\nBoxID: 5");
    EXPECT_EQ(window.offUiThreadCalls.load(), 0);
}

TEST_F(OperationTest, SyncWritesEveryBoxInTurnAndClickingTwiceTurnsItOff) {
    addBox(1, 1);
    addBox(2, 2);
    addBox(3, 3);
    connect();
    controls.syncCheckBox[0].state = 1;
    controls.syncCheckBox[0].pending = 1;
    send(msg::SyncCheckBox, 0);
    EXPECT_EQ(logic.link.syncToAll.load(), 1);
    EXPECT_EQ(controls.syncCheckBox[0].pending, 0);
    apply();

    for (int com = 1; com <= 3; ++com) {
        EXPECT_EQ(sentCodes(com), (std::vector<int>{kApplySettings, kFinishApply, kStatus})) << com;
    }
    EXPECT_EQ(logic.link.currentBoxSlot(), 0);
    EXPECT_EQ(working()[frame_offset::boxId], 3);  // the last box's status

    send(msg::SyncCheckBox, 0);
    EXPECT_EQ(logic.link.syncToAll.load(), 0);
}

class ApplyFailureTest : public PanelTest,
                         public ::testing::WithParamInterface<std::pair<const char*, int>> {};

TEST_P(ApplyFailureTest, ShowsItsErrorAndStillEndsTheBusyState) {
    addBox(3, 2);
    connect();
    controls.clockSyncGroup[2].state = 1;
    send(msg::ClockSyncGroup, 2);  // a settings change
    controls.deviceIdGroup[0].state = 1;
    send(msg::DeviceIdGroup, 0);  // and an ID change
    setFaults(3, GetParam().first);
    const DeviceFrame before = logic.link.deviceFrame();
    apply();

    EXPECT_EQ(window.errors, std::vector<int>{GetParam().second});
    EXPECT_EQ(window.busyFlag().load(), 0);
    EXPECT_EQ(workerBusy.load(), 0);
    EXPECT_EQ(controls.buttons[ctl::kApplyButton].pending, 0);
    EXPECT_EQ(logic.link.deviceFrame(), before);
    EXPECT_EQ(firstOn(controls.clockSyncGroup), 2);  // the operator's choice stays shown
    EXPECT_EQ(window.offUiThreadCalls.load(), 0);

    // The button posts again and the next Apply runs.
    setFaults(3, "");
    window.clearLog();
    apply();
    EXPECT_TRUE(window.errors.empty());
}

INSTANTIATE_TEST_SUITE_P(EachStep, ApplyFailureTest,
                         ::testing::Values(std::pair{"nak=0", 10}, std::pair{"nak=8", 11},
                                           std::pair{"badend=100", 12},
                                           std::pair{"wrongcode=0xFF", 13}));

struct ResetCase {
    std::uint32_t message;
    int button;
    int code;
    int commandError;
    int statusError;
};

class ResetTest : public PanelTest, public ::testing::WithParamInterface<ResetCase> {};

TEST_P(ResetTest, ShowsTheBoxAgainWithTheSliderRulesApplied) {
    const ResetCase& c = GetParam();
    BoxSettings s;
    s.flags = 2u | (1u << 6);
    s.hLimit = 150;
    addBox(3, 2, s);
    connect();
    // The operator picks Clone; the reset shows the box's Stretch 1 x 4 again.
    controls.modeGroup[3].state = 1;
    send(msg::ModeGroup, 3);
    controls.buttons[static_cast<std::size_t>(c.button)].pending = 1;
    send(c.message, static_cast<std::uintptr_t>(c.button));
    finishOperation();

    EXPECT_EQ(sentCodes(3), (std::vector<int>{c.code, kStatus}));
    EXPECT_TRUE(window.errors.empty());
    EXPECT_EQ(firstOn(controls.modeGroup), 1);  // the box's settings are shown again
    EXPECT_EQ(firstOn(controls.hLimitGroup), 3);
    EXPECT_EQ(controls.bezelSliders[ctl::kHBezel].stopCount, 151);
    EXPECT_EQ(controls.bezelSliders[ctl::kHBezel].state, 0);
    EXPECT_EQ(controls.bezelSliders[ctl::kVBezel].state, 2);
    EXPECT_EQ(controls.buttons[static_cast<std::size_t>(c.button)].pending, 0);
    EXPECT_EQ(window.offUiThreadCalls.load(), 0);
}

TEST_P(ResetTest, EachFailingStepHasItsError) {
    const ResetCase& c = GetParam();
    addBox(3, 2);
    connect();
    setFaults(3, "nak=" + std::to_string(c.code));
    send(c.message, static_cast<std::uintptr_t>(c.button));
    finishOperation();
    setFaults(3, "nak=255");
    send(c.message, static_cast<std::uintptr_t>(c.button));
    finishOperation();
    EXPECT_EQ(window.errors, (std::vector<int>{c.commandError, c.statusError}));
    EXPECT_EQ(window.busyFlag().load(), 0);
}

TEST_P(ResetTest, RefusedWhileEitherPatternSwitchIsOn) {
    const ResetCase& c = GetParam();
    addBox(3, 2);
    connect();
    for (int sw : {ctl::kPatternSwitch, ctl::kRgbwSwitch}) {
        controls.switches[static_cast<std::size_t>(sw)].state = 3;
        controls.buttons[static_cast<std::size_t>(c.button)].pending = 1;
        send(c.message, static_cast<std::uintptr_t>(c.button));
        EXPECT_FALSE(logic.operationInFlight());
        // Refused, but the button can post again.
        EXPECT_EQ(controls.buttons[static_cast<std::size_t>(c.button)].pending, 0);
        controls.switches[static_cast<std::size_t>(sw)].state = 0;
    }
    EXPECT_TRUE(bus.writeLog().empty());
}

INSTANTIATE_TEST_SUITE_P(
    HardwareAndSoftware, ResetTest,
    ::testing::Values(ResetCase{msg::HwResetButton, ctl::kHwResetButton, 1, 6, 7},
                      ResetCase{msg::SwResetButton, ctl::kSwResetButton, 2, 8, 9}));

TEST_F(OperationTest, OperationsAreRefusedWhilePatternOrWorkerAreBusy) {
    addBox(3, 2);
    connect();
    patternActive = 1;
    send(msg::ApplyButton, ctl::kApplyButton);
    send(msg::HwResetButton, 1);  // F12
    EXPECT_FALSE(logic.operationInFlight());
    patternActive = 0;
    workerBusy = 1;
    send(msg::ApplyButton, ctl::kApplyButton);
    EXPECT_FALSE(logic.operationInFlight());
    workerBusy = 0;
    EXPECT_TRUE(bus.writeLog().empty());
}

TEST_F(OperationTest, NoSecondOperationBetweenTheWorkersEndAndItsButtonsRelease) {
    addBox(3, 2);
    connect();
    // The click is handled without pumping: pump() runs whatever UI steps the worker hands over
    // meanwhile, and on the instant fake clock it can chase the worker through its release.
    controls.buttons[ctl::kApplyButton].pending = 1;
    logic.handle(msg::ApplyButton, ctl::kApplyButton, 0);
    ASSERT_TRUE(logic.operationInFlight());
    // Run the worker's UI steps up to the last one: the release of the Apply button.
    for (int i = 0; i < 4000; ++i) {
        if (window.pendingSteps(5) > 0) {
            if (workerBusy == 0) {
                break;
            }
            window.runSteps(0);
        }
    }
    ASSERT_EQ(workerBusy.load(), 0);
    ASSERT_EQ(controls.buttons[ctl::kApplyButton].pending, 1);

    // SW Reset, then HW Reset (or F12) arrive now: both are refused, and each button can post
    // again.
    for (int button : {ctl::kSwResetButton, ctl::kHwResetButton}) {
        controls.buttons[static_cast<std::size_t>(button)].pending = 1;
        logic.handle(button == ctl::kSwResetButton ? msg::SwResetButton : msg::HwResetButton,
                     static_cast<std::uintptr_t>(button), 0);
        EXPECT_EQ(controls.buttons[static_cast<std::size_t>(button)].pending, 0);
    }
    // The UI thread serves every step until each worker started so far has ended (a second
    // worker, had one started, included).
    auto joined = std::async(std::launch::async, [this] { logic.link.waitForWorkers(); });
    while (joined.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready) {
        window.runSteps(5);
    }
    pump();
    EXPECT_FALSE(logic.operationInFlight());
    EXPECT_EQ(controls.buttons[ctl::kApplyButton].pending, 0);
    EXPECT_EQ(sentCodes(3), (std::vector<int>{kFinishApply, kStatus}));
}

TEST_F(OperationTest, BoxMessagesQueuedBehindAnOperationDoNotTouchTheBoxes) {
    addBox(3, 2);
    addBox(4, 3);
    connect();
    // Queued together: Apply, then a switch toggled and a box chosen before the worker ran.
    controls.buttons[ctl::kApplyButton].pending = 1;
    window.post(msg::ApplyButton, ctl::kApplyButton);
    controls.switches[ctl::kSerialComSwitch].state = 0;
    window.post(msg::SerialComSwitch, 0);
    controls.deviceBoxGroup[1].state = 1;
    controls.deviceBoxGroup[0].state = 0;
    window.post(msg::DeviceBoxGroup, 1);
    window.post(msg::KeyAllOff, 0);
    for (const Post& p : window.takeQueue()) {
        logic.handle(p.message, p.wParam, 0);
    }
    EXPECT_EQ(controls.switches[ctl::kSerialComSwitch].state, 1);  // put back
    EXPECT_EQ(controls.deviceBoxGroup[0].state, 1);
    EXPECT_EQ(controls.deviceBoxGroup[1].state, 0);
    finishOperation();

    EXPECT_EQ(logic.link.boxCount(), 2);
    EXPECT_EQ(logic.link.currentBoxIndex(), 0);
    EXPECT_EQ(sentCodes(3), (std::vector<int>{kFinishApply, kStatus}));
    EXPECT_TRUE(sentCodes(4).empty());
}

TEST_F(OperationTest, PlainButtonsAndStartUpMessages) {
    controls.buttons[ctl::kExitButton].pending = 1;
    send(msg::ExitButton, 0);
    EXPECT_EQ(window.quitCodes, std::vector<int>{0});
    EXPECT_EQ(controls.buttons[ctl::kExitButton].pending, 0);

    controls.buttons[ctl::kAdvanceButton].pending = 1;
    send(msg::AdvanceButton, 3);
    EXPECT_EQ(controls.buttons[ctl::kAdvanceButton].pending, 0);
    EXPECT_EQ(window.redraws, 0);

    send(msg::StartupDone, 0);
    EXPECT_EQ(window.redraws, 1);
    EXPECT_EQ(window.centres, 1);

    EXPECT_TRUE(PanelLogic::knows(msg::KeyAllOff));
    EXPECT_TRUE(PanelLogic::knows(msg::SyncCheckBox));
    EXPECT_FALSE(PanelLogic::knows(msg::kUser));
    EXPECT_FALSE(PanelLogic::knows(msg::kUser + 12));
    EXPECT_EQ(logic.handle(9999, 1, 0), 0);
}

}  // namespace
}  // namespace quelt::testing

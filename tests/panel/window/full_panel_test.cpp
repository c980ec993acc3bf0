// The panel window with its full logic on headless hosts, talking to simulated boxes on the
// in-memory bus: the disconnected start, connecting, an Apply on the worker thread, and the
// ports closed when the window goes away.
#include <gtest/gtest.h>

#include <chrono>

#include "panel/panel_messages.h"
#include "panel_fixture.h"

namespace quelt::test {
namespace {

class FullPanel : public ::testing::Test, public SimulatedPanel {
  protected:
    FullPanel() : SimulatedPanel({{3, 1}, {5, 2}}) {}
};

TEST_F(FullPanel, StartsDisconnectedWithOnlySerialComAndExitUsable) {
    EXPECT_TRUE(host->errorBoxTexts().empty());
    EXPECT_TRUE(bus.openAttempts().empty());
    EXPECT_EQ(c().panelLabels[ctl::kTitleLabel].text, "Quelt Control Center - v1.05a");
    EXPECT_EQ(c().panelLabels[ctl::kTitleLabel].disabled, 0);
    EXPECT_EQ(c().panelLabels[1].disabled, 1);
    EXPECT_EQ(c().buttons[ctl::kApplyButton].state, 3);
    EXPECT_EQ(c().buttons[ctl::kExitButton].state, 0);
    EXPECT_EQ(c().bezelSliders[ctl::kHBezel].stopCount, 51);  // rebuilt for H limit 50
    EXPECT_EQ(c().dp1Labels[0].text.empty(), false);

    host->clearEvents();
    click(200, 70);  // Pattern switch: disabled
    EXPECT_TRUE(host->eventsOf(HostCall::Post).empty());
}

TEST_F(FullPanel, ConnectsAppliesOnTheWorkerAndClosesThePortsOnDestroy) {
    click(86, 71);  // Serial COM on: discovery
    ASSERT_TRUE(host->errorBoxTexts().empty());
    EXPECT_EQ(c().switches[ctl::kSerialComSwitch].state, 1);
    EXPECT_EQ(c().deviceBoxGroup[0].visible, 1);
    EXPECT_EQ(c().deviceBoxGroup[1].visible, 1);
    EXPECT_EQ(c().deviceBoxGroup[2].visible, 0);
    EXPECT_EQ(c().deviceInfoTexts[1].visible, 1);
    EXPECT_EQ(bus.openCount(), 2);

    host->clearEvents();
    click(175, 195);  // Mode: Stretch 2 x 2
    click(1000, 70);  // Apply: the worker runs it
    ASSERT_TRUE(host->pumpUntil(
        [this] {
            return !panel->logic().operationInFlight() &&
                   c().buttons[ctl::kApplyButton].pending == 0;
        },
        std::chrono::seconds(20)));
    EXPECT_TRUE(host->errorBoxTexts().empty());
    EXPECT_EQ(bus.box(3)->settings().stretch(), 2u);
    EXPECT_EQ(panel->busyFlag().load(), 0);
    // Every repaint, the worker's included, was made on the UI thread.
    for (const HostEvent& present : host->eventsOf(HostCall::Present)) {
        EXPECT_TRUE(present.onUiThread);
    }

    panel->OnDestroy();
    EXPECT_EQ(bus.openCount(), 0);
}

}  // namespace
}  // namespace quelt::test

// The panel window with its full logic on headless hosts, talking to simulated boxes on the
// in-memory bus: the disconnected start, connecting, an Apply on the worker thread, and the
// ports closed when the window goes away.
#include <gtest/gtest.h>

#include <chrono>

#include "device/flags.h"
#include "panel/panel_messages.h"
#include "panel/window/frame_main.h"
#include "panel_fixture.h"
#include "support/headless_window_host.h"
#include "tools/boxsim/in_memory_port.h"

namespace quelt::test {
namespace {

class FullPanel : public ::testing::Test {
  protected:
    FullPanel() {
        resetProcessFlags();
        for (int com : {3, 5}) {
            sim::BoxConfig config;
            config.com = com;
            config.boxId = static_cast<std::uint8_t>(com == 3 ? 1 : 2);
            bus.addBox(config);
        }
        PanelEnvironment env;
        env.exeFolder = skin.base();
        env.makeHost = [this]() -> std::unique_ptr<WindowHost> {
            auto host = std::make_unique<HeadlessWindowHost>();
            (host_ == nullptr ? host_ : splash_) = host.get();
            return host;
        };
        env.wait = [](WindowHost&, std::uint32_t) {};
        env.clock = &clock;
        env.portFactory = bus.factory();
        panel = std::make_unique<CGUIGDIPlusMfcFrameMain>(std::move(env));
        host_->create(kPanelNominalWidth, kPanelNominalHeight);
        panel->OnInitDialog();
        host_->pump();
    }
    ~FullPanel() override {
        panel.reset();
        resetProcessFlags();
    }

    void click(int x, int y) {
        host_->injectPointer(PointerAction::Press, x, y, 1);
        host_->injectPointer(PointerAction::Release, x, y, 0);
        host_->pump();
    }
    PanelControls& c() { return panel->controls(); }

    SkinCopy skin;
    sim::FakeClock clock;
    sim::InMemoryBus bus{clock};
    HeadlessWindowHost* host_ = nullptr;
    HeadlessWindowHost* splash_ = nullptr;
    std::unique_ptr<CGUIGDIPlusMfcFrameMain> panel;
};

TEST_F(FullPanel, StartsDisconnectedWithOnlySerialComAndExitUsable) {
    EXPECT_TRUE(host_->errorBoxTexts().empty());
    EXPECT_TRUE(bus.openAttempts().empty());
    EXPECT_EQ(c().panelLabels[ctl::kTitleLabel].text, "Quelt Control Center - v1.05a");
    EXPECT_EQ(c().panelLabels[ctl::kTitleLabel].disabled, 0);
    EXPECT_EQ(c().panelLabels[1].disabled, 1);
    EXPECT_EQ(c().buttons[ctl::kApplyButton].state, 3);
    EXPECT_EQ(c().buttons[ctl::kExitButton].state, 0);
    EXPECT_EQ(c().bezelSliders[ctl::kHBezel].stopCount, 51);  // rebuilt for H limit 50
    EXPECT_EQ(c().dp1Labels[0].text.empty(), false);

    host_->clearEvents();
    click(200, 70);  // Pattern switch: disabled
    EXPECT_TRUE(host_->eventsOf(HostCall::Post).empty());
}

TEST_F(FullPanel, ConnectsAppliesOnTheWorkerAndClosesThePortsOnDestroy) {
    click(86, 71);  // Serial COM on: discovery
    ASSERT_TRUE(host_->errorBoxTexts().empty());
    EXPECT_EQ(c().switches[ctl::kSerialComSwitch].state, 1);
    EXPECT_EQ(c().deviceBoxGroup[0].visible, 1);
    EXPECT_EQ(c().deviceBoxGroup[1].visible, 1);
    EXPECT_EQ(c().deviceBoxGroup[2].visible, 0);
    EXPECT_EQ(c().deviceInfoTexts[1].visible, 1);
    EXPECT_EQ(bus.openCount(), 2);

    host_->clearEvents();
    click(175, 195);  // Mode: Stretch 2 x 2
    click(1000, 70);  // Apply: the worker runs it
    ASSERT_TRUE(host_->pumpUntil(
        [this] {
            return !panel->logic().operationInFlight() &&
                   c().buttons[ctl::kApplyButton].pending == 0;
        },
        std::chrono::seconds(20)));
    EXPECT_TRUE(host_->errorBoxTexts().empty());
    EXPECT_EQ(bus.box(3)->settings().stretch(), 2u);
    EXPECT_EQ(panel->busyFlag().load(), 0);
    // Every repaint, the worker's included, was made on the UI thread.
    for (const HostEvent& present : host_->eventsOf(HostCall::Present)) {
        EXPECT_TRUE(present.onUiThread);
    }

    panel->OnDestroy();
    EXPECT_EQ(bus.openCount(), 0);
}

}  // namespace
}  // namespace quelt::test

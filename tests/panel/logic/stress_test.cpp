// Many Apply operations on the worker while the UI thread keeps painting (reading every control)
// and handling messages. Run it under ThreadSanitizer: the worker must never touch a control
// record itself.
#include "panel_fixture.h"

namespace quelt::testing {
namespace {

// What a paint reads: states, flags, texts and thumb positions.
std::uint64_t paintRead(const PanelControls& c) {
    std::uint64_t sum = 0;
    auto add = [&](std::int64_t v) { sum = sum * 31 + static_cast<std::uint64_t>(v); };
    for (const SkinText& t : c.deviceInfoTexts) {
        add(t.disabled + static_cast<std::int64_t>(t.text.size()));
    }
    for (const SkinText& t : c.bezelTexts) {
        add(static_cast<std::int64_t>(t.text.size()));
    }
    for (const SkinRadioButton& r : c.modeGroup) {
        add(r.state);
    }
    for (const SkinRadioButton& r : c.deviceIdGroup) {
        add(r.state);
    }
    for (const SkinButton& b : c.buttons) {
        add(b.state + b.pending);
    }
    auto addSlider = [&](const SkinSlider& s) {
        add(s.state + s.GetStop() + static_cast<std::int64_t>(s.stops.size()));
    };
    for (const SkinSlider& s : c.resolutionSliders) {
        addSlider(s);
    }
    for (const SkinSlider& s : c.bezelSliders) {
        addSlider(s);
    }
    return sum;
}

using StressTest = PanelTest;

TEST_F(StressTest, ApplyOnTheWorkerWhileTheUiThreadPaintsAndHandlesMessages) {
    addBox(3, 2);
    addBox(4, 3);
    connect();
    std::uint64_t painted = 0;
    window.onRedraw = [&] { painted += paintRead(controls); };

    constexpr int kApplies = 60;
    int started = 0;
    int round = 0;
    while (started < kApplies || logic.operationInFlight()) {
        if (!logic.operationInFlight() && started < kApplies) {
            if (started % 10 == 9) {
                // Every tenth operation changes the ID so SetBoxId rewrites the info texts.
                const int id = started % 6;
                controls.deviceIdGroup[static_cast<std::size_t>(id)].state = 1;
                logic.handle(msg::DeviceIdGroup, static_cast<std::uintptr_t>(id), 0);
            }
            controls.buttons[ctl::kApplyButton].pending = 1;
            logic.handle(msg::ApplyButton, ctl::kApplyButton, 0);
            ASSERT_TRUE(logic.operationInFlight());
            ++started;
        }
        // The UI thread stays busy with its own work while the worker runs.
        const auto r = static_cast<std::uintptr_t>(round++);
        logic.handle(msg::ModeGroup, r % 3, 0);
        logic.handle(msg::ClockSyncGroup, r % 3, 0);
        controls.bezelSliders[ctl::kHBezel].SetStop(static_cast<int>(r % 7));
        logic.handle(msg::HBezelSlider, 0, 0);
        logic.handle(msg::KeyPattern, 0x31, 0);  // ignored while an operation is in flight
        window.redrawPanel();
        window.runSteps(1);
        for (const Post& p : window.takeQueue()) {
            logic.handle(p.message, p.wParam, 0);
        }
    }
    logic.link.waitForWorkers();

    int finishes = 0;
    for (int com : {3, 4}) {
        for (int code : sentCodes(com)) {
            finishes += code == kFinishApply ? 1 : 0;
        }
    }
    EXPECT_EQ(finishes, kApplies);
    EXPECT_EQ(window.offUiThreadCalls.load(), 0);
    EXPECT_TRUE(window.errors.empty());
    EXPECT_EQ(window.busyFlag().load(), 0);
    EXPECT_EQ(controls.buttons[ctl::kApplyButton].pending, 0);
    EXPECT_NE(painted, 0u);
}

}  // namespace
}  // namespace quelt::testing

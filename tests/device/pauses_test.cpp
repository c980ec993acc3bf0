// The pause each operation takes after each command, measured on the fake clock: every write
// paired with the time slept before the next one. Boxes answer at once, so the reply waits
// add no time and the pauses are all that passes.
#include <functional>
#include <utility>

#include "link_fixture.h"

namespace quelt::testing {
namespace {

// A fake clock that notes each sleep with the number of writes made before it.
class PauseClock : public sim::FakeClock {
  public:
    void sleepMs(std::uint32_t ms) override {
        FakeClock::sleepMs(ms);
        if (bus != nullptr) {
            sleeps.emplace_back(bus->writeLog().size(), ms);
        }
    }
    const sim::InMemoryBus* bus = nullptr;
    std::vector<std::pair<std::size_t, std::uint32_t>> sleeps;
};

// (port, code or 0xFF for the status byte, milliseconds slept after it)
using Step = std::tuple<int, int, std::uint32_t>;

struct PauseCase {
    const char* name;
    std::function<void(DeviceLink&, RecordingSink&)> run;
    std::vector<Step> steps;
};

class PausesTest : public ::testing::TestWithParam<PauseCase> {
  protected:
    PausesTest() { resetProcessFlags(); }
    ~PausesTest() override { resetProcessFlags(); }

    void addBox(int com, std::uint8_t boxId) {
        sim::BoxConfig config;
        config.com = com;
        config.boxId = boxId;
        bus.addBox(config);
    }
    std::vector<Step> steps() const {
        std::vector<Step> out;
        const auto log = bus.writeLog();
        for (std::size_t i = 0; i < log.size(); ++i) {
            std::uint32_t slept = 0;
            for (const auto& [writes, ms] : clock.sleeps) {
                slept += writes == i + 1 ? ms : 0;
            }
            out.emplace_back(log[i].first, log[i].second[0], slept);
        }
        return out;
    }

    PauseClock clock;
    sim::InMemoryBus bus{clock};
    RecordingSink sink;
    DeviceLink link{sink, clock, bus.factory()};
};

TEST_P(PausesTest, EachCommandPausesAsItsCodeSays) {
    addBox(1, 1);
    addBox(2, 2);
    ASSERT_EQ(link.discoverBoxes(), 1);
    bus.clearWrites();
    clock.bus = &bus;
    GetParam().run(link, sink);
    EXPECT_EQ(steps(), GetParam().steps);
}

void chooseCloneAndId4(DeviceFrame& frame) {
    frame.setFlags(frame.flags() | frame_flags::cloneBit);
    frame[frame_offset::boxId] = 4;
}

INSTANTIATE_TEST_SUITE_P(
    EveryOperation, PausesTest,
    ::testing::Values(
        PauseCase{"ApplyWithNewSettingsAndId",
                  [](DeviceLink& l, RecordingSink& s) {
                      s.onPanelToFrame = chooseCloneAndId4;
                      l.applySettings();
                  },
                  {{1, 0, 1000}, {1, 8, 1000}, {1, 100, 1000}, {1, 0xFF, 0}}},
        PauseCase{"ApplyUnchanged",
                  [](DeviceLink& l, RecordingSink&) { l.applySettings(); },
                  {{1, 100, 1000}, {1, 0xFF, 0}}},
        PauseCase{"ApplyToEveryBox",
                  [](DeviceLink& l, RecordingSink&) {
                      l.syncToAll = 1;
                      l.applySettings();
                  },
                  {{1, 0, 1000},
                   {1, 100, 1000},
                   {1, 0xFF, 0},
                   {2, 0, 1000},
                   {2, 100, 1000},
                   {2, 0xFF, 0}}},
        PauseCase{"HardwareReset",
                  [](DeviceLink& l, RecordingSink&) { l.resetBox(ResetKind::Hardware); },
                  {{1, 1, 1000}, {1, 0xFF, 0}}},
        PauseCase{"SoftwareReset",
                  [](DeviceLink& l, RecordingSink&) { l.resetBox(ResetKind::Software); },
                  {{1, 2, 1000}, {1, 0xFF, 0}}},
        PauseCase{
            "PatternSwitchOn",
            [](DeviceLink& l, RecordingSink&) { l.patternOnFromSwitch(DeviceCommand::PatternOn); },
            {{1, 3, 0}}},
        PauseCase{"RgbwSwitchOn",
                  [](DeviceLink& l, RecordingSink&) {
                      l.patternOnFromSwitch(DeviceCommand::RgbwPatternOn);
                  },
                  {{1, 11, 0}}},
        PauseCase{"PatternSwitchOff",
                  [](DeviceLink& l, RecordingSink&) { l.patternOffFromSwitch(); },
                  {{1, 4, 0}}},
        PauseCase{
            "KeyPattern",
            [](DeviceLink& l, RecordingSink&) { l.patternOnBox(1, DeviceCommand::PatternOn); },
            {{2, 3, 0}, {1, 0xFF, 0}}},
        PauseCase{
            "KeyRgbwPattern",
            [](DeviceLink& l, RecordingSink&) { l.patternOnBox(1, DeviceCommand::RgbwPatternOn); },
            {{2, 11, 0}, {1, 0xFF, 0}}},
        PauseCase{"Escape",
                  [](DeviceLink& l, RecordingSink&) { l.allPatternsOff(); },
                  {{1, 4, 0}, {2, 4, 0}, {1, 0xFF, 0}}},
        PauseCase{
            "SelectBox", [](DeviceLink& l, RecordingSink&) { l.selectBox(1); }, {{2, 0xFF, 0}}}),
    [](const ::testing::TestParamInfo<PauseCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quelt::testing

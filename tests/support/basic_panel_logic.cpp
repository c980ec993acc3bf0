#include <span>

#include "panel/panel_messages.h"
#include "panel/resolution_lists.h"
#include "support/basic_panel_logic.h"

namespace quelt {

namespace {

template <typename Control>
void ReleaseIn(std::span<Control> group, std::uintptr_t index) {
    if (index < group.size()) {
        group[index].pending = 0;
    }
}

class BasicPanelLogic : public PanelLogicPort {
  public:
    BasicPanelLogic(PanelControls& controls, PanelServices& services)
        : controls_(controls), services_(services) {}

    void setSkinRoot(const std::string&) override {}
    void buildResolutionLists() override { lists_ = quelt::buildResolutionLists(); }
    void refreshResolutionLabels() override {}
    void rebuildBezelSliders() override {}
    void setPanelEnabled(bool) override {}
    DeviceFrame workingFrame() const override { return working_; }

    void handleMessage(std::uint32_t message, std::uintptr_t wParam) override {
        switch (message) {
            case msg::StartupDone:
                services_.redrawPanel();
                services_.centrePanel();
                break;
            case msg::ExitButton:
                services_.quit(0);
                releaseControl(controls_, message, wParam);
                break;
            default:
                releaseControl(controls_, message, wParam);
                break;
        }
    }

    void closeAllBoxes() override {}
    bool operationInFlight() const override { return false; }

  private:
    PanelControls& controls_;
    PanelServices& services_;
    DeviceFrame working_ = initialWorkingFrame();
    ResolutionLists lists_{};
};

}  // namespace

void releaseControl(PanelControls& c, std::uint32_t message, std::uintptr_t wParam) {
    switch (message) {
        case msg::SyncCheckBox:
            ReleaseIn<SkinCheckBox>(c.syncCheckBox, wParam);
            break;
        case msg::SerialComSwitch:
        case msg::PatternSwitch:
        case msg::RgbwSwitch:
            ReleaseIn<SkinSwitch>(c.switches, wParam);
            break;
        case msg::HwResetButton:
        case msg::SwResetButton:
        case msg::ApplyButton:
        case msg::AdvanceButton:
        case msg::ExitButton:
            ReleaseIn<SkinButton>(c.buttons, wParam);
            break;
        case msg::ModeGroup:
            ReleaseIn<SkinRadioButton>(c.modeGroup, wParam);
            break;
        case msg::ClockSyncGroup:
            ReleaseIn<SkinRadioButton>(c.clockSyncGroup, wParam);
            break;
        case msg::FrameRateGroup:
            ReleaseIn<SkinRadioButton>(c.frameRateGroup, wParam);
            break;
        case msg::HLimitGroup:
            ReleaseIn<SkinRadioButton>(c.hLimitGroup, wParam);
            break;
        case msg::VLimitGroup:
            ReleaseIn<SkinRadioButton>(c.vLimitGroup, wParam);
            break;
        case msg::DeviceBoxGroup:
            ReleaseIn<SkinRadioButton>(c.deviceBoxGroup, wParam);
            break;
        case msg::DeviceIdGroup:
            ReleaseIn<SkinRadioButton>(c.deviceIdGroup, wParam);
            break;
        case msg::Dp1Slider:
        case msg::Dp2Slider:
            ReleaseIn<SkinSlider>(c.resolutionSliders, wParam);
            break;
        case msg::HBezelSlider:
        case msg::VBezelSlider:
            ReleaseIn<SkinSlider>(c.bezelSliders, wParam);
            break;
        default:
            break;
    }
}

std::unique_ptr<PanelLogicPort> makeBasicPanelLogic(PanelControls& controls,
                                                    PanelServices& services) {
    return std::make_unique<BasicPanelLogic>(controls, services);
}

}  // namespace quelt

#include "panel/window/frame_main.h"

#include <array>
#include <cstdio>
#include <span>
#include <utility>

#include "base/ui_strings.h"
#include "base/version.h"
#include "panel/logic/panel_mapping.h"
#include "panel/panel_messages.h"
#include "panel/window/panel_layout.h"
#include "panel/window/panel_paint.h"
#include "panel/window/placement.h"
#include "platform/fs/fs.h"
#include "skin/skin_check.h"

namespace quelt {

namespace {

PanelEnvironment WithDefaults(PanelEnvironment env) {
    if (!env.makeHost) {
        env.makeHost = [] { return makeNativeWindowHost(); };
    }
    if (!env.wait) {
        env.wait = [](WindowHost& host, std::uint32_t ms) { host.waitPumpingMessages(ms); };
    }
    if (env.clock == nullptr) {
        env.clock = &systemClock();
    }
    if (!env.portFactory) {
        env.portFactory = [] { return makeSerialChannel(); };
    }
    if (!env.makeLogic) {
        env.makeLogic = [clock = env.clock, ports = env.portFactory](PanelControls& controls,
                                                                     PanelServices& services) {
            return makePanelLogic(controls, services, *clock, ports);
        };
    }
    return env;
}

// Every panel message the window hands to its logic.
constexpr std::array<std::uint32_t, 24> kPanelMessages = {
    msg::StartupDone,    msg::SyncCheckBox,  msg::SerialComSwitch, msg::PatternSwitch,
    msg::RgbwSwitch,     msg::HwResetButton, msg::SwResetButton,   msg::AdvanceButton,
    msg::ApplyButton,    msg::ExitButton,    msg::ModeGroup,       msg::ClockSyncGroup,
    msg::FrameRateGroup, msg::HLimitGroup,   msg::VLimitGroup,     msg::DeviceBoxGroup,
    msg::DeviceIdGroup,  msg::Dp1Slider,     msg::Dp2Slider,       msg::HBezelSlider,
    msg::VBezelSlider,   msg::KeyPattern,    msg::KeyRgbwPattern,  msg::KeyAllOff,
};

bool IsPanelMessage(std::uint32_t message) {
    for (std::uint32_t known : kPanelMessages) {
        if (known == message) {
            return true;
        }
    }
    return false;
}

}  // namespace

CGUIGDIPlusMfcFrameMain::CGUIGDIPlusMfcFrameMain(PanelEnvironment environment)
    : CGUIGDIPlusMfcFrameMain(Completed{WithDefaults(std::move(environment))}) {}

CGUIGDIPlusMfcFrameMain::CGUIGDIPlusMfcFrameMain(Completed completed)
    : CGUIGDIPlusMfcBaseDlg(completed.env.makeHost()),
      env_(std::move(completed.env)),
      splash_(env_.makeHost(), env_.exeFolder) {
    logic_ = env_.makeLogic(controls_, *this);
}

CGUIGDIPlusMfcFrameMain::~CGUIGDIPlusMfcFrameMain() {
    if (!destroyed_) {
        OnDestroy();
    }
    // The logic may still hold workers that repaint; it goes before the controls and canvas.
    logic_.reset();
}

int CGUIGDIPlusMfcFrameMain::DoModal() {
    if (!host().create(kPanelNominalWidth, kPanelNominalHeight)) {
        std::fprintf(stderr, "quelt-panel: no window can be made (is a display available?)\n");
        return 1;
    }
    OnInitDialog();
    const int exitCode = host().run();
    // An Apply or reset still running needs the UI thread to hand its last steps to.
    while (logic_->operationInFlight() && host().isCreated()) {
        host().waitPumpingMessages(20);
    }
    OnDestroy();
    splash_.host().destroy();
    host().destroy();
    return exitCode;
}

bool CGUIGDIPlusMfcFrameMain::OnInitDialog() {
    if (startupSequence()) {
        if (!keyboardHook_) {
            installKeyboardHook();
        }
    } else {
        showError(ui_error::kInitialize);
        quit(0);
    }
    return true;
}

bool CGUIGDIPlusMfcFrameMain::startupSequence() {
    if (!splash_.HasWindow()) {
        // Owned by the panel: one taskbar entry for the program.
        splash_.host().setOwner(host());
        splash_.host().setTitle(kProductName);
        splash_.Create();
    }
    splash_.Show();
    env_.wait(host(), kStartupPauseMs);

    if (!checkSkinFileCount(env_.exeFolder) || !checkSkinTotalSize(env_.exeFolder)) {
        return false;
    }
    skinRoot = SkinRootOf(env_.exeFolder);
    logic_->setSkinRoot(skinRoot);
    if (!createPanelControls()) {
        return false;
    }
    const std::string background = skinRoot + panel_skin::kBackground;
    // A background smaller than the layout would make a window too small for its controls.
    canvas.requiredSize = layoutExtent(controls_);
    if (!fs::fileExists(background) || SetBackground(0, 0, background) == 0) {
        return false;
    }
    setTitleText();
    logic_->buildResolutionLists();
    logic_->refreshResolutionLabels();
    logic_->rebuildBezelSliders();
    logic_->setPanelEnabled(false);
    host().send(msg::StartupDone, 0, 0);
    splash_.host().hide();
    return true;
}

bool CGUIGDIPlusMfcFrameMain::createPanelControls() {
    skinPath = skinRoot;
    return quelt::createPanelControls(controls_, skinPath, uiStrings());
}

void CGUIGDIPlusMfcFrameMain::setTitleText() {
    quelt::setTitleText(controls_);
    host().setTitle(kProductName);
}

void CGUIGDIPlusMfcFrameMain::OnDestroy() {
    destroyed_ = true;
    removeKeyboardHook();
    logic_->closeAllBoxes();
    releaseControlImages();
}

void CGUIGDIPlusMfcFrameMain::releaseControlImages() {
    PanelControls& c = controls_;
    for (SkinStaticImage& image : c.staticImages) {
        image.Release();
    }
    for (SkinRadioButton& box : c.deviceBoxGroup) {
        box.Release();
    }
    c.syncCheckBox[0].Release();
    for (SkinSwitch& control : c.switches) {
        control.Release();
    }
    for (SkinButton& button : c.buttons) {
        button.Release();
    }
    for (std::span<SkinRadioButton> group :
         {std::span<SkinRadioButton>(c.modeGroup), std::span<SkinRadioButton>(c.clockSyncGroup),
          std::span<SkinRadioButton>(c.frameRateGroup), std::span<SkinRadioButton>(c.hLimitGroup),
          std::span<SkinRadioButton>(c.vLimitGroup), std::span<SkinRadioButton>(c.deviceIdGroup)}) {
        for (SkinRadioButton& item : group) {
            item.Release();
        }
    }
    for (SkinSlider& slider : c.resolutionSliders) {
        slider.Unload();
    }
    for (SkinSlider& slider : c.bezelSliders) {
        slider.Unload();
    }
}

// --- PanelServices ---

void CGUIGDIPlusMfcFrameMain::redrawPanel() {
    if (!host().isUiThread()) {
        host().runOnUiThread([this] { redrawPanel(); });
        return;
    }
    composePanel(*this, controls_, logic_->workingFrame(), busy_.load() != 0);
    Present();
}

void CGUIGDIPlusMfcFrameMain::post(std::uint32_t message, std::uintptr_t wParam) {
    host().post(message, wParam, 0);
}

void CGUIGDIPlusMfcFrameMain::quit(int exitCode) {
    host().quit(exitCode);
}

void CGUIGDIPlusMfcFrameMain::centrePanel() {
    centreAndShow(host());
}

void CGUIGDIPlusMfcFrameMain::showError(int errorIndex) {
    host().showErrorBox(uiStrings().error(errorIndex));
}

void CGUIGDIPlusMfcFrameMain::runOnUiThread(const std::function<void()>& step) {
    host().runOnUiThread(step);
}

void CGUIGDIPlusMfcFrameMain::removeKeyboardHook() {
    if (keyboardHook_) {
        if (env_.removeKeyboardHook) {
            env_.removeKeyboardHook();
        }
        keyboardHook_ = false;
    }
}

void CGUIGDIPlusMfcFrameMain::installKeyboardHook() {
    if (keyboardHook_) {
        return;
    }
    keyboardHook_ = env_.installKeyboardHook ? env_.installKeyboardHook() : true;
}

// --- messages and input ---

std::intptr_t CGUIGDIPlusMfcFrameMain::OnMessage(std::uint32_t message, std::uintptr_t wParam,
                                                 std::intptr_t) {
    if (IsPanelMessage(message)) {
        return OnPanelMessage(message, wParam);
    }
    return 0;
}

std::intptr_t CGUIGDIPlusMfcFrameMain::OnPanelMessage(std::uint32_t message,
                                                      std::uintptr_t wParam) {
    logic_->handleMessage(message, wParam);
    return 0;
}

void CGUIGDIPlusMfcFrameMain::OnLButtonDown(int x, int y) {
    pointerPress(controls_, *this, x, y);
}
void CGUIGDIPlusMfcFrameMain::OnLButtonUp(int x, int y) {
    pointerRelease(controls_, *this, x, y);
}
void CGUIGDIPlusMfcFrameMain::OnMouseMove(int x, int y) {
    pointerMove(controls_, *this, x, y);
}

bool CGUIGDIPlusMfcFrameMain::is120Hz() const {
    return logic_->workingFrame().is120Hz();
}

void CGUIGDIPlusMfcFrameMain::captionDrag(int x, int y) {
    host().beginCaptionDrag(x, y);
}

void CGUIGDIPlusMfcFrameMain::setCapture(bool captured) {
    if (captured) {
        host().setCapture();
    } else {
        host().releaseCapture();
    }
}

void CGUIGDIPlusMfcFrameMain::showCursor(CursorShape shape) {
    SetCursorShape(shape);
}

void CGUIGDIPlusMfcFrameMain::postMessage(std::uint32_t message, std::uintptr_t wParam) {
    host().post(message, wParam, 0);
}

}  // namespace quelt

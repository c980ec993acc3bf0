#pragma once
// The main panel window: owns every skinned control, its splash window and the panel's logic,
// runs the start-up sequence, routes pointer input and panel messages, paints, and tears down
// when the window goes away.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "panel/panel_controls.h"
#include "panel/panel_services.h"
#include "panel/window/base_dialog.h"
#include "panel/window/frame_splash.h"
#include "panel/window/panel_logic_port.h"
#include "panel/window/panel_pointer.h"

namespace quelt {

inline constexpr int kPanelNominalWidth = 1127;
inline constexpr int kPanelNominalHeight = 679;
inline constexpr std::uint32_t kStartupPauseMs = 2500;

// Everything the panel takes from outside, so tests can run it headless and without waiting.
struct PanelEnvironment {
    // Folder that holds GUISkin (the executable's folder in the program).
    std::string exeFolder;
    // Makes the window hosts of the panel and of its splash (called twice, on the UI thread).
    std::function<std::unique_ptr<WindowHost>()> makeHost;
    // The start-up pause: handles messages for the given time. Default: the panel host's wait.
    std::function<void(WindowHost& panelHost, std::uint32_t ms)> wait;
    // The panel's logic. Default: makePanelLogic on `clock` and `portFactory`.
    std::function<std::unique_ptr<PanelLogicPort>(PanelControls&, PanelServices&)> makeLogic;
    // Clock and serial ports of the default logic (default: the system's).
    Clock* clock = nullptr;
    SerialPortFactory portFactory;
    // The keyboard shortcuts' observer: install returns whether one is now in place.
    std::function<bool()> installKeyboardHook;
    std::function<void()> removeKeyboardHook;
};

class CGUIGDIPlusMfcFrameMain : public CGUIGDIPlusMfcBaseDlg,
                                public PanelServices,
                                private PointerActions {
  public:
    explicit CGUIGDIPlusMfcFrameMain(PanelEnvironment environment);
    ~CGUIGDIPlusMfcFrameMain() override;

    // Creates the window, runs the start-up, runs the message loop until a quit and tears the
    // window down. Returns the quit's exit code; 1 when no window can be made.
    int DoModal();
    // Start-up; on failure one error box and a quit request with 0. Always true.
    bool OnInitDialog();
    bool startupSequence();
    bool createPanelControls();
    void setTitleText();
    // Teardown when the window goes away: hook removed, boxes closed, images released.
    void OnDestroy();
    void releaseControlImages();

    // PanelServices
    void redrawPanel() override;
    void post(std::uint32_t message, std::uintptr_t wParam) override;
    void quit(int exitCode) override;
    void centrePanel() override;
    void showError(int errorIndex) override;
    void runOnUiThread(const std::function<void()>& step) override;
    void removeKeyboardHook() override;
    void installKeyboardHook() override;
    std::atomic<std::int32_t>& busyFlag() override { return busy_; }

    PanelControls& controls() { return controls_; }
    CGUIGDIPlusMfcFrameSplash& splash() { return splash_; }
    PanelLogicPort& logic() { return *logic_; }
    bool keyboardHookInstalled() const { return keyboardHook_; }

  protected:
    std::intptr_t OnMessage(std::uint32_t message, std::uintptr_t wParam,
                            std::intptr_t lParam) override;
    void OnLButtonDown(int x, int y) override;
    void OnLButtonUp(int x, int y) override;
    void OnMouseMove(int x, int y) override;

  private:
    // The environment with every default filled in.
    struct Completed {
        PanelEnvironment env;
    };
    explicit CGUIGDIPlusMfcFrameMain(Completed completed);

    // PointerActions
    bool isBusy() const override { return busy_.load() != 0; }
    bool is120Hz() const override;
    void captionDrag(int x, int y) override;
    void setCapture(bool captured) override;
    void showCursor(CursorShape shape) override;
    void postMessage(std::uint32_t message, std::uintptr_t wParam) override;
    void redraw() override { redrawPanel(); }

    std::intptr_t OnPanelMessage(std::uint32_t message, std::uintptr_t wParam);

    PanelEnvironment env_;
    CGUIGDIPlusMfcFrameSplash splash_;
    PanelControls controls_;
    std::unique_ptr<PanelLogicPort> logic_;
    std::atomic<std::int32_t> busy_{0};
    bool keyboardHook_ = false;
    bool destroyed_ = false;
};

}  // namespace quelt

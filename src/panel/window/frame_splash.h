#pragma once
// The splash window: one skin image with the version text over it, centred on the 1600 x 1050
// area, draggable by a press anywhere. The panel creates, shows and hides it while it starts.
#include <cstdint>
#include <memory>
#include <string>

#include "panel/window/base_dialog.h"

namespace quelt {

inline constexpr std::uint32_t kSplashCentreMessage = 1034;
inline constexpr const char* kSplashImage = "GUIFrameSplash\\GUIFrameSplashBK.kesp";
// Nominal window size before the image gives the real one.
inline constexpr int kSplashNominalWidth = 270;
inline constexpr int kSplashNominalHeight = 340;
// The version text's rectangle; a splash image must be at least this large.
inline constexpr SkinRect kSplashVersionRect{6, 313, 264, 330};

class CGUIGDIPlusMfcFrameSplash : public CGUIGDIPlusMfcBaseDlg {
  public:
    // `exeFolder`: the folder that holds GUISkin.
    CGUIGDIPlusMfcFrameSplash(std::unique_ptr<WindowHost> host, std::string exeFolder);

    bool HasWindow() const { return host().isCreated(); }
    // Creates the hidden window and runs its initialisation. False without a window.
    bool Create();
    // Loads the image, draws, and posts the centring message.
    void OnInitDialog();
    void drawSplash();
    // Centres on the area, shows and draws again.
    void Centre();
    // Shows the window when there is something to show: a splash whose image cannot be used
    // has no canvas and stays hidden (a window shown before anything is presented would be an
    // opaque black box on X without a compositor).
    void Show();

  protected:
    std::intptr_t OnMessage(std::uint32_t message, std::uintptr_t wParam,
                            std::intptr_t lParam) override;
    void OnLButtonDown(int x, int y) override;

  private:
    std::string exeFolder_;
};

}  // namespace quelt

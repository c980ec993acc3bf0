#include "panel/window/frame_splash.h"

#include "base/version.h"

#include <utility>

#include "panel/window/placement.h"
#include "skin/skin_check.h"

namespace quelt {

CGUIGDIPlusMfcFrameSplash::CGUIGDIPlusMfcFrameSplash(std::unique_ptr<WindowHost> host,
                                                     std::string exeFolder)
    : CGUIGDIPlusMfcBaseDlg(std::move(host)), exeFolder_(std::move(exeFolder)) {}

bool CGUIGDIPlusMfcFrameSplash::Create() {
    if (!host().isCreated() && !host().create(kSplashNominalWidth, kSplashNominalHeight)) {
        return false;
    }
    OnInitDialog();
    return true;
}

void CGUIGDIPlusMfcFrameSplash::OnInitDialog() {
    skinRoot = SkinRootOf(exeFolder_);
    // An image that cannot be decoded, or is too small for the version text, leaves the splash
    // without a canvas: nothing shows.
    canvas.requiredSize = {0, 0, kSplashVersionRect.right, kSplashVersionRect.bottom};
    SetBackground(0, 0, skinRoot + kSplashImage);
    drawSplash();
    host().post(kSplashCentreMessage, 0, 0);
}

void CGUIGDIPlusMfcFrameSplash::drawSplash() {
    skinPath = skinRoot + kSplashImage;
    PaintBackground(0, 0, 0, 0, 255, skinPath);
    if (canvas.composed != 0) {
        const SkinRect& r = kSplashVersionRect;
        canvas.painter.DrawText(canvas.dc(), kVersionText, 0, 12, 0xFFFFFF, 255, 0, 2, "Arial",
                                r.left, r.top, r.right, r.bottom);
    }
    Present();
}

void CGUIGDIPlusMfcFrameSplash::Centre() {
    // Without a usable picture the splash only moves: it is never shown as an empty box.
    if (canvas.composed != 0) {
        centreAndShow(host());
    } else {
        const WindowPoint origin = centredOrigin(host().clientRect());
        host().move(origin.x, origin.y);
    }
    drawSplash();
}

void CGUIGDIPlusMfcFrameSplash::Show() {
    if (canvas.composed != 0) {
        host().show();
    }
}

std::intptr_t CGUIGDIPlusMfcFrameSplash::OnMessage(std::uint32_t message, std::uintptr_t,
                                                   std::intptr_t) {
    if (message == kSplashCentreMessage) {
        Centre();
    }
    return 0;
}

void CGUIGDIPlusMfcFrameSplash::OnLButtonDown(int x, int y) {
    host().beginCaptionDrag(x, y);
}

}  // namespace quelt

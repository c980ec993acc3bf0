#pragma once
// Window half of a skinned dialog: a borderless per-pixel-alpha window (through a WindowHost)
// whose face is composed on an off-screen SkinCanvas and handed to the window in one piece.
// The derived windows (the panel, the splash) draw their controls between PaintBackground and
// Present.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/window/window_host.h"
#include "skin/skin_canvas.h"
#include "skin/skin_rect.h"

namespace quelt {

class CGUIGDIPlusMfcBaseDlg : public WindowHandler {
  public:
    explicit CGUIGDIPlusMfcBaseDlg(std::unique_ptr<WindowHost> host);
    ~CGUIGDIPlusMfcBaseDlg() override;
    CGUIGDIPlusMfcBaseDlg(const CGUIGDIPlusMfcBaseDlg&) = delete;
    CGUIGDIPlusMfcBaseDlg& operator=(const CGUIGDIPlusMfcBaseDlg&) = delete;

    WindowHost& host() { return *host_; }
    const WindowHost& host() const { return *host_; }

    // Sizes the canvas for a background image (0, 0: the image's own size) and the window with
    // it. Returns 1, or 0 when no size results (the image cannot be decoded).
    int SetBackground(std::int32_t width, std::int32_t height, const std::string& path);
    // Clears the canvas to transparent and draws the background image (see SkinCanvas).
    void PaintBackground(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                         std::uint32_t alpha, const std::string& path);
    void FillGradient(std::uint32_t colour1, std::uint32_t colour2, const SkinRect& rect);
    // Hands the composed canvas to the window (nothing while there is no canvas).
    void Present();

    // Shows `shape` over the window from now on.
    void SetCursorShape(CursorShape shape);

    // WindowHandler: input and messages reach the derived window's handlers.
    std::intptr_t onMessage(std::uint32_t message, std::uintptr_t wParam,
                            std::intptr_t lParam) override;
    void onPointer(const PointerInput& input) override;

    CursorShape cursor = CursorShape::Arrow;
    SkinCanvas canvas;
    std::string skinRoot;  // "<exe folder>\GUISkin\"
    std::string skinPath;  // scratch: skinRoot + a relative skin file name

  protected:
    virtual std::intptr_t OnMessage(std::uint32_t message, std::uintptr_t wParam,
                                    std::intptr_t lParam);
    virtual void OnLButtonDown(int x, int y);
    virtual void OnLButtonUp(int x, int y);
    virtual void OnMouseMove(int x, int y);

  private:
    std::unique_ptr<WindowHost> host_;
    std::uint32_t presentedBackground_ = 0;  // canvas.paintedBackground() last presented
};

}  // namespace quelt

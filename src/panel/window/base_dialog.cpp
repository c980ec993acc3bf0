#include "panel/window/base_dialog.h"

#include <utility>

namespace quelt {

CGUIGDIPlusMfcBaseDlg::CGUIGDIPlusMfcBaseDlg(std::unique_ptr<WindowHost> host)
    : host_(std::move(host)) {
    host_->setHandler(this);
}

CGUIGDIPlusMfcBaseDlg::~CGUIGDIPlusMfcBaseDlg() {
    host_->setHandler(nullptr);
    host_->destroy();
}

int CGUIGDIPlusMfcBaseDlg::SetBackground(std::int32_t width, std::int32_t height,
                                         const std::string& path) {
    const int result = canvas.SetBackground(width, height, path);
    if (result != 0) {
        // Composed straight into the window's own frame where it offers one: presenting then
        // copies nothing.
        gfx::Canvas& surface = canvas.surface;
        const int w = surface.width();
        const int h = surface.height();
        if (std::uint32_t* frame = host_->frameBuffer(w, h)) {
            if (!surface.wrap(frame, w, h, w * 4)) {
                surface.create(w, h);
            }
        }
        // A transparent first frame gives the window the canvas's size.
        surface.clear();
        Present();
    }
    return result;
}

void CGUIGDIPlusMfcBaseDlg::PaintBackground(std::int32_t x, std::int32_t y, std::int32_t width,
                                            std::int32_t height, std::uint32_t alpha,
                                            const std::string& path) {
    canvas.PaintBackground(x, y, width, height, alpha, path);
}

void CGUIGDIPlusMfcBaseDlg::FillGradient(std::uint32_t colour1, std::uint32_t colour2,
                                         const SkinRect& rect) {
    canvas.FillGradient(colour1, colour2, rect);
}

void CGUIGDIPlusMfcBaseDlg::Present() {
    gfx::Canvas* surface = canvas.dc();
    if (canvas.composed == 0 || surface == nullptr || !surface->valid()) {
        return;
    }
    const int width = canvas.windowRect.right - canvas.windowRect.left;
    const int height = canvas.windowRect.bottom - canvas.windowRect.top;
    if (width <= 0 || height <= 0 || width > surface->width() || height > surface->height()) {
        return;
    }
    if (canvas.paintedBackground() != presentedBackground_) {
        presentedBackground_ = canvas.paintedBackground();
        host_->outlineChanged();
    }
    host_->present(reinterpret_cast<const std::uint32_t*>(surface->data()), width, height,
                   surface->stride());
}

void CGUIGDIPlusMfcBaseDlg::SetCursorShape(CursorShape shape) {
    cursor = shape;
    host_->setCursor(shape);
}

std::intptr_t CGUIGDIPlusMfcBaseDlg::onMessage(std::uint32_t message, std::uintptr_t wParam,
                                               std::intptr_t lParam) {
    return OnMessage(message, wParam, lParam);
}

void CGUIGDIPlusMfcBaseDlg::onPointer(const PointerInput& input) {
    switch (input.action) {
        case PointerAction::Press:
            OnLButtonDown(input.x, input.y);
            break;
        case PointerAction::Release:
            OnLButtonUp(input.x, input.y);
            break;
        case PointerAction::Move:
            OnMouseMove(input.x, input.y);
            break;
    }
}

std::intptr_t CGUIGDIPlusMfcBaseDlg::OnMessage(std::uint32_t, std::uintptr_t, std::intptr_t) {
    return 0;
}

void CGUIGDIPlusMfcBaseDlg::OnLButtonDown(int, int) {}
void CGUIGDIPlusMfcBaseDlg::OnLButtonUp(int, int) {}
void CGUIGDIPlusMfcBaseDlg::OnMouseMove(int, int) {}

}  // namespace quelt

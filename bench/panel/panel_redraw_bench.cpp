// Times the panel's full repaint (background, every control, bezel preview, present) and a
// pointer drag over a resolution slider, which repaints on every move.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "panel/window/frame_main.h"
#include "panel/window/panel_layout.h"
#include "skin/skin_check.h"
#include "support/basic_panel_logic.h"
#include "support/headless_window_host.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Summary {
    double median;
    double worst;
};

template <typename Step>
Summary Time(int rounds, Step step) {
    std::vector<double> ms;
    for (int i = 0; i < rounds; ++i) {
        const auto start = Clock::now();
        step(i);
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.back()};
}

}  // namespace

int main(int argc, char** argv) {
    int rounds = 200;
    if (argc == 3 && std::strcmp(argv[1], "--rounds") == 0) {
        rounds = std::max(1, std::atoi(argv[2]));
    }

    quelt::HeadlessWindowHost* host = nullptr;
    quelt::PanelEnvironment env;
    env.exeFolder = QUELT_ASSETS_DIR;  // GUISkin lies there
    env.makeHost = [&host]() -> std::unique_ptr<quelt::WindowHost> {
        auto made = std::make_unique<quelt::HeadlessWindowHost>();
        if (host == nullptr) {
            host = made.get();
        }
        return made;
    };
    env.makeLogic = quelt::makeBasicPanelLogic;
    quelt::CGUIGDIPlusMfcFrameMain panel(std::move(env));
    host->create(quelt::kPanelNominalWidth, quelt::kPanelNominalHeight);
    panel.skinRoot = quelt::SkinRootOf(QUELT_ASSETS_DIR);
    if (!panel.createPanelControls() ||
        panel.SetBackground(0, 0, panel.skinRoot + quelt::panel_skin::kBackground) == 0) {
        std::fprintf(stderr, "quelt-bench-panel: the skin in %s did not load\n", QUELT_ASSETS_DIR);
        return 1;
    }

    const Summary redraw = Time(rounds, [&panel](int) { panel.redrawPanel(); });
    std::printf("redrawPanel (1127 x 679):            median %.2f ms, worst %.2f ms, %d rounds\n",
                redraw.median, redraw.worst, rounds);

    host->injectPointer(quelt::PointerAction::Press, 210, 340, 1);
    const Summary drag = Time(rounds, [host](int i) {
        host->injectPointer(quelt::PointerAction::Move, 210, 331 + (i * 7) % 314, 1);
        host->pump();
    });
    host->injectPointer(quelt::PointerAction::Release, 210, 400, 0);
    std::printf("drag step on the DP1 slider (repaint): median %.2f ms, worst %.2f ms, %d rounds\n",
                drag.median, drag.worst, rounds);
    return 0;
}

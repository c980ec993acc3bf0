// Times the panel's full repaint (background, every control, bezel preview, present) and a
// pointer drag over a resolution slider, which repaints on every move, next to the floor they
// are measured against: one copy of a whole 1127 x 679 ARGB frame, timed in the same run.
//   quelt-bench-panel [--rounds N] [--skin FOLDER-HOLDING-GUISkin] [--json]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
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
    bool json = false;
    std::string skinFolder = QUELT_ASSETS_DIR;  // GUISkin lies there
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--rounds") == 0 && i + 1 < argc) {
            rounds = std::max(1, std::atoi(argv[++i]));
        } else if (std::strcmp(argv[i], "--skin") == 0 && i + 1 < argc) {
            skinFolder = argv[++i];
        } else if (std::strcmp(argv[i], "--json") == 0) {
            json = true;
        } else {
            std::fprintf(stderr, "usage: quelt-bench-panel [--rounds N] [--skin DIR] [--json]\n");
            return 2;
        }
    }

    quelt::HeadlessWindowHost* host = nullptr;
    quelt::PanelEnvironment env;
    env.exeFolder = skinFolder;
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
    panel.skinRoot = quelt::SkinRootOf(skinFolder);
    if (!panel.createPanelControls() ||
        panel.SetBackground(0, 0, panel.skinRoot + quelt::panel_skin::kBackground) == 0) {
        std::fprintf(stderr, "quelt-bench-panel: the skin in %s did not load\n",
                     skinFolder.c_str());
        return 1;
    }

    // The floor: one frame's pixels copied, as a present that copies does once.
    const std::size_t framePixels =
        static_cast<std::size_t>(quelt::kPanelNominalWidth) * quelt::kPanelNominalHeight;
    std::vector<std::uint32_t> frameFrom(framePixels, 0xFF203040u);
    std::vector<std::uint32_t> frameTo(framePixels, 0);
    const Summary copy = Time(rounds, [&](int i) {
        frameFrom[static_cast<std::size_t>(i) % framePixels] ^= 1u;  // not the same copy twice
        std::memcpy(frameTo.data(), frameFrom.data(), framePixels * sizeof(std::uint32_t));
    });

    panel.redrawPanel();  // first use prepares what later repaints keep
    const Summary redraw = Time(rounds, [&panel](int) { panel.redrawPanel(); });

    host->injectPointer(quelt::PointerAction::Press, 210, 340, 1);
    const Summary drag = Time(rounds, [host](int i) {
        host->injectPointer(quelt::PointerAction::Move, 210, 331 + (i * 7) % 314, 1);
        host->pump();
    });
    host->injectPointer(quelt::PointerAction::Release, 210, 400, 0);

    if (json) {
        std::printf(
            "{\"repaintMedianMs\": %.3f, \"dragStepMedianMs\": %.3f, \"frameCopyMedianMs\": "
            "%.3f}\n",
            redraw.median, drag.median, copy.median);
        return frameTo[0] == 0 ? 1 : 0;
    }
    std::printf("frame copy (1127 x 679 ARGB):          median %.3f ms, worst %.3f ms\n",
                copy.median, copy.worst);
    std::printf("redrawPanel (1127 x 679):              median %.3f ms, worst %.3f ms\n",
                redraw.median, redraw.worst);
    std::printf("drag step on the DP1 slider (repaint): median %.3f ms, worst %.3f ms\n",
                drag.median, drag.worst);
    std::printf("%d rounds each\n", rounds);
    return frameTo[0] == 0 ? 1 : 0;
}

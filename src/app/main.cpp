// quelt-panel: the Quelt Control Center panel.
#include <cstdlib>
#include <iostream>
#include <utility>

#include "app/command_line.h"
#include "app/panoril_app.h"
#include "base/debug_trace.h"
#include "base/ui_strings.h"
#include "platform/console/console.h"
#include "platform/debug_viewer/trace_wiring.h"
#include "platform/fs/fs.h"
#include "platform/window/display.h"
#include "platform/window/window_host.h"
#include "skin/skin_location.h"

int main(int argc, char** argv) {
    if (argc > 1) {
        quelt::attachParentConsole();
        if (const auto exitCode =
                quelt::panelCommandLine({argv + 1, argv + argc}, std::cout, std::cerr)) {
            return *exitCode;
        }
    }
    // The texts exist before the application object starts.
    quelt::uiStrings();
    quelt::wireDebugTrace(std::getenv(quelt::kTraceVariable));
    // The display first: without one the panel says what is missing and takes nothing.
    const quelt::DisplayStart display = quelt::prepareDisplay();
    if (!display.ready) {
        std::cerr << display.problem << '\n';
        return 1;
    }

    quelt::CPanorilApp::Options options;
    options.panel.exeFolder = quelt::skinBaseFor(quelt::fs::exeFolder());
    quelt::CPanorilApp app(std::move(options));
    // Ended by the session or a terminal, the panel closes its boxes as on any quit.
    quelt::quitOnTerminationSignals();
    return app.InitInstance();
}

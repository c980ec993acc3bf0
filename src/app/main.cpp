// quelt-panel: the Quelt Control Center panel.
#include <cstdlib>
#include <utility>

#include "app/panoril_app.h"
#include "base/ui_strings.h"
#include "platform/debug_viewer/trace_wiring.h"
#include "platform/fs/fs.h"

int main() {
    // The texts exist before the application object starts.
    quelt::uiStrings();
    quelt::wireDebugTrace(std::getenv(quelt::kTraceVariable));

    quelt::CPanorilApp::Options options;
    options.panel.exeFolder = quelt::fs::exeFolder();
    quelt::CPanorilApp app(std::move(options));
    return app.InitInstance();
}

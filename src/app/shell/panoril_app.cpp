#include "app/shell/panoril_app.h"

#include <utility>

#include "platform/single_instance.h"

namespace quelt {

CPanorilApp::CPanorilApp(Options options) : options_(std::move(options)) {}

int CPanorilApp::InitInstance() {
    // Held until the process ends; the system drops it however the process ends.
    const SingleInstance guard(options_.instanceName, options_.lockFolder);
    if (guard.anotherCopyRunning()) {
        return 0;
    }
    CGUIGDIPlusMfcFrameMain panel(options_.panel);
    return panel.DoModal();
}

}  // namespace quelt

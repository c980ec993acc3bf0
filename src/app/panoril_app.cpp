#include "app/panoril_app.h"

#include <utility>

#include "app/shortcut_hook.h"
#include "base/debug_trace.h"
#include "platform/instance/single_instance.h"
#include "platform/process/process_setup.h"

namespace quelt {

CPanorilApp::CPanorilApp(Options options) : options_(std::move(options)) {
    registerForRestart();
}

int CPanorilApp::InitInstance() {
    initCommonControls();
    // Held until the process ends; the system drops it however the process ends.
    const SingleInstance guard(options_.instanceName, options_.lockFolder);
    if (guard.anotherCopyRunning()) {
        debugTrace(false, "CPanorilApp - another copy runs: end");
        return 0;
    }
    // The system-wide shortcuts, unless the caller brings its own observer.
    std::unique_ptr<ShortcutHook> hook;
    PanelEnvironment environment = options_.panel;
    if (!environment.installKeyboardHook) {
        hook = std::make_unique<ShortcutHook>(makeKeyboardObserver());
        environment.installKeyboardHook = [&hook] { return hook->install(); };
        environment.removeKeyboardHook = [&hook] { hook->remove(); };
    }
    CGUIGDIPlusMfcFrameMain panel(std::move(environment));
    if (hook) {
        hook->attach(&panel);
    }
    const int exitCode = panel.DoModal();
    debugTrace(false, "CPanorilApp - panel ended: %d", exitCode);
    if (hook) {
        hook->remove();
        hook->attach(nullptr);
    }
    return exitCode;
}

}  // namespace quelt

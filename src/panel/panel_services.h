#pragma once
// What the panel's logic (settings mapping, enablement, message handlers, the device link's view
// of the panel) needs from the panel window. The main panel window implements it.
#include <atomic>
#include <cstdint>
#include <functional>

namespace quelt {

class PanelServices {
public:
    virtual ~PanelServices() = default;

    // Full repaint of the panel (must be called on the UI thread).
    virtual void redrawPanel() = 0;
    // Queue a panel message to the panel itself (any thread, never blocks).
    virtual void post(std::uint32_t message, std::uintptr_t wParam) = 0;
    // End the panel's modal run with an exit code.
    virtual void quit(int exitCode) = 0;
    // Centre the panel on the 1600 x 1050 area, not topmost, and show it.
    virtual void centrePanel() = 0;
    // Modal error box with `errors[errorIndex]` of the UI string table, owned by the panel;
    // returns when dismissed (UI thread).
    virtual void showError(int errorIndex) = 0;
    // Run a step on the UI thread and wait for it (inline when already there).
    virtual void runOnUiThread(const std::function<void()>& step) = 0;
    // Keyboard shortcuts' observer: removed when the Serial COM switch goes off, installed again
    // when it comes on successfully.
    virtual void removeKeyboardHook() = 0;
    virtual void installKeyboardHook() = 0;
    // The panel's busy flag: set while an operation runs (shadow painted, input ignored).
    virtual std::atomic<std::int32_t>& busyFlag() = 0;
};

}  // namespace quelt

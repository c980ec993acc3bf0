#include "platform/process/process_setup.h"

#include <windows.h>

#include <commctrl.h>

namespace quelt {

bool initCommonControls() {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);  // 8
    controls.dwICC = ICC_WIN95_CLASSES;  // 0xFF
    return InitCommonControlsEx(&controls) != FALSE;
}

bool registerForRestart() {
    constexpr DWORD kRestartOnly = 1;  // restart after a crash or hang, nothing else
    return SUCCEEDED(RegisterApplicationRestart(nullptr, kRestartOnly));
}

}  // namespace quelt

#pragma once
// What the platform asks of a program once, when it starts.
//   Windows: the common controls are initialised (InitCommonControlsEx with the structure size
//   and the class set ICC_WIN95_CLASSES) and the program registers with the restart manager
//   (RegisterApplicationRestart, no command line, restart only).
//   Linux: nothing is needed; both report success.
namespace quelt {

// True when the common controls are ready.
bool initCommonControls();

// True when the program is registered for a restart by the system.
bool registerForRestart();

}  // namespace quelt

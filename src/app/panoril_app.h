#pragma once
// The application object: lets one copy run per user logon, then runs the main panel for the
// whole life of the program and hands back its exit code.
#include <string>

#include "panel/window/frame_main.h"

namespace quelt {

class CPanorilApp {
  public:
    struct Options {
        PanelEnvironment panel;
        std::string instanceName = "CPanorilApp";
        std::string lockFolder;  // where the guard is a lock file; empty: the default
    };

    // Registers the program with the system's restart support (Windows).
    explicit CPanorilApp(Options options);

    // Initialises the platform's common controls (Windows), then: a second copy ends at once
    // with 0, without any window or message; otherwise the panel runs until it quits and its
    // exit code is returned.
    int InitInstance();

  private:
    Options options_;
};

}  // namespace quelt

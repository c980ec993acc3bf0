// Nothing to prepare on Linux: there are no common controls and no restart manager.
#include "platform/process/process_setup.h"

namespace quelt {

bool initCommonControls() {
    return true;
}

bool registerForRestart() {
    return true;
}

}  // namespace quelt

// Windows always has its desktop: nothing to choose, nothing to tell.
#include "platform/window/display.h"

namespace quelt {

DisplayStart prepareDisplay() {
    return {};
}

}  // namespace quelt

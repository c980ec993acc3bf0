// On Linux a program always inherits its standard streams: nothing to do.
#include "platform/console/console.h"

namespace quelt {

void attachParentConsole() {}

}  // namespace quelt

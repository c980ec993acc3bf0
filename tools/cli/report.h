#pragma once
// What quelt-cli prints: one line per box, or JSON with --json.
#include <ostream>

#include "device/device_link.h"

namespace quelt::cli {

void writeDiscovery(std::ostream& out, const DeviceLink& link, bool json);
// The status of table entry `index` as reported in `frame`.
void writeStatus(std::ostream& out, const DeviceLink& link, int index, const DeviceFrame& frame,
                 bool json);
void writePattern(std::ostream& out, const DeviceLink& link, int index, const char* state,
                  bool json);
void writeAppliedToAll(std::ostream& out, const DeviceLink& link, bool json);

}  // namespace quelt::cli

#pragma once
// The developer trace of a program: its lines go to a running "Debug Viewer". For support,
// `QUELT_TRACE=1` in the environment switches every trace point on and copies each line to
// standard error as well; any other value, or none, leaves the trace points as the code sets
// them.
namespace quelt {

inline constexpr const char* kTraceVariable = "QUELT_TRACE";

// Installs the trace sender for the value of QUELT_TRACE (null when unset). Returns whether
// every trace point is on.
bool wireDebugTrace(const char* traceSetting);

}  // namespace quelt

#pragma once
// The developer trace: formats a line and hands it to the installed sender when its send switch
// is on (or every trace point is switched on). Without a sender every line is formatted and
// dropped.
#include <cstddef>

#if defined(__GNUC__)
#define QUELT_PRINTF_FORMAT(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define QUELT_PRINTF_FORMAT(fmt, args)
#endif

namespace quelt {

inline constexpr std::size_t kTraceBufferSize = 1024;  // at most 1023 characters travel

// Receives one formatted trace line (UTF-8, NUL-terminated). Called on the tracing thread.
using TraceSender = void (*)(const char* text);

// Installs `sender` (null: none) and returns the previous one. Safe from any thread.
TraceSender setTraceSender(TraceSender sender);

// Turns every trace point on, whatever its send switch says (support's switch; off at start).
// Safe from any thread.
void setTraceEverything(bool on);

// printf-style; the text is cut at 1023 characters (UTF-16 code units, as the viewer counts
// them), never inside one. Sent only when a sender is installed and `send` is true or every
// trace point is on.
void debugTrace(bool send, const char* format, ...) QUELT_PRINTF_FORMAT(2, 3);

}  // namespace quelt

#pragma once
// A port that discovery passed over although it exists, and how it is reported: the reason's
// short name ("no-reply", "busy", ...) and one line for a person.
#include <string>

namespace quelt {

enum class SkipReason {
    NoReply,
    LineLost,  // the line hung up before a reply: reported as "no-reply"
    NegativeReply,
    WrongReply,
    WriteFailed,
    Busy,
    PermissionDenied,
    OpenFailed
};

struct SkippedPort {
    int comPort = 0;
    SkipReason reason = SkipReason::NoReply;
    std::string path;    // the device behind the COM number; empty when the channel cannot tell
    std::string detail;  // the open error text, when the port did not open
};

// "no-reply", "negative-reply", "wrong-reply", "write-failed", "busy", "permission-denied",
// "open-failed".
const char* skipReasonName(SkipReason reason);

// "COM2 (/dev/ttyUSB1): opened, no reply within 20 s — skipped"; for a port that did not open,
// its open error followed by " — skipped".
std::string skippedPortLine(const SkippedPort& port);

}  // namespace quelt

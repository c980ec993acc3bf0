#include "device/skipped_port.h"

namespace quelt {
namespace {

struct SkipText {
    SkipReason reason;
    const char* name;
    const char* text;  // after "COMn (PATH): "; empty: the open error says it all
};
constexpr SkipText kSkipTexts[] = {
    {SkipReason::NoReply, "no-reply", "opened, no reply within 20 s"},
    {SkipReason::LineLost, "no-reply", "opened, the line hung up before a reply"},
    {SkipReason::NegativeReply, "negative-reply", "opened, refused the status request"},
    {SkipReason::WrongReply, "wrong-reply", "opened, the reply was not a box's status"},
    {SkipReason::WriteFailed, "write-failed", "opened, the status request could not be sent"},
    {SkipReason::Busy, "busy", "another program holds the port"},
    {SkipReason::PermissionDenied, "permission-denied", "permission denied"},
    {SkipReason::OpenFailed, "open-failed", "could not be opened"},
};

const SkipText& skipText(SkipReason reason) {
    for (const SkipText& entry : kSkipTexts) {
        if (entry.reason == reason) {
            return entry;
        }
    }
    return kSkipTexts[0];
}

}  // namespace

const char* skipReasonName(SkipReason reason) {
    return skipText(reason).name;
}

std::string skippedPortLine(const SkippedPort& port) {
    std::string line = port.detail;
    if (line.empty()) {
        line = "COM" + std::to_string(port.comPort);
        if (!port.path.empty()) {
            line += " (" + port.path + ")";
        }
        line += std::string(": ") + skipText(port.reason).text;
    }
    return line + " \u2014 skipped";
}

}  // namespace quelt

#include "tools/cli/report.h"

#include "tools/cli/frame_text.h"

namespace quelt::cli {
namespace {

Json orNull(const std::optional<std::string>& text) {
    return text ? Json(*text) : Json(nullptr);
}

}  // namespace

void Console::print(const Json& value) {
    out_ << value.dump() << "\n";
}

int Console::fail(int code, const std::string& text) {
    if (json_) {
        err_ << Json{{"error", text}, {"code", code}}.dump() << "\n";
    } else {
        err_ << "quelt-cli: " << text << "\n";
    }
    return code;
}

std::string boxHead(const DeviceLink& link, int index) {
    const BoxRecord& box = link.box(index);
    return "box " + std::to_string(index) + " COM" + std::to_string(box.comPort) + " FW " +
           std::to_string(box.firmware) + " ID " + std::to_string(box.boxId);
}

Json boxJson(const DeviceLink& link, int index, const char* indexKey) {
    const BoxRecord& box = link.box(index);
    return Json{
        {indexKey, index}, {"com", box.comPort}, {"firmware", box.firmware}, {"boxId", box.boxId}};
}

namespace {

struct SkipText {
    SkipReason reason;
    const char* name;  // as the JSON gives it
    const char* text;  // after "COMn (PATH): "; empty: the open error says it all
};
constexpr SkipText kSkipTexts[] = {
    {SkipReason::NoReply, "no-reply", "opened, no reply within 20 s"},
    {SkipReason::NegativeReply, "negative-reply", "opened, refused the status request"},
    {SkipReason::WrongReply, "wrong-reply", "opened, the reply was not a box's status"},
    {SkipReason::WriteFailed, "write-failed", "opened, the status request could not be sent"},
    {SkipReason::Busy, "busy", ""},
    {SkipReason::PermissionDenied, "permission-denied", ""},
    {SkipReason::OpenFailed, "open-failed", ""},
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

std::vector<std::string> skippedLines(const DeviceLink& link,
                                      const std::function<std::string(int)>& path) {
    std::vector<std::string> lines;
    for (const SkippedPort& port : link.skippedPorts()) {
        const SkipText& entry = skipText(port.reason);
        std::string line = entry.text[0] != '\0' || port.detail.empty()
                               ? "COM" + std::to_string(port.comPort) + " (" + path(port.comPort) +
                                     "): " + entry.text
                               : port.detail;
        lines.push_back(line + " \u2014 skipped");
    }
    return lines;
}

Json skippedJson(const DeviceLink& link, const std::function<std::string(int)>& path) {
    Json skipped = Json::array();
    for (const SkippedPort& port : link.skippedPorts()) {
        skipped.push_back(Json{{"com", port.comPort},
                               {"path", path(port.comPort)},
                               {"reason", skipText(port.reason).name}});
    }
    return skipped;
}

void writeDiscovery(Console& console, const DeviceLink& link,
                    const std::function<std::string(int)>& path) {
    if (console.json()) {
        Json boxes = Json::array();
        for (int i = 0; i < link.boxCount(); ++i) {
            boxes.push_back(boxJson(link, i, "index"));
        }
        console.print(Json{{"boxes", boxes}, {"skipped", skippedJson(link, path)}});
        return;
    }
    for (int i = 0; i < link.boxCount(); ++i) {
        console.out() << boxHead(link, i) << "\n";
    }
    for (const std::string& line : skippedLines(link, path)) {
        console.out() << line << "\n";
    }
}

void writeStatus(Console& console, const DeviceLink& link, int index, const DeviceFrame& frame) {
    const std::uint8_t res1 = frame[frame_offset::resolutionDp1];
    const std::uint8_t res2 = frame[frame_offset::resolutionDp2];
    const auto text1 = resolutionText(frame, res1);
    const auto text2 = resolutionText(frame, res2);
    auto byteAt = [&frame](int offset) { return frame[static_cast<std::size_t>(offset)]; };
    if (console.json()) {
        Json status = boxJson(link, index, "box");
        status["mode"] = modeKey(frame);
        status["frameRate"] = frameRateHz(frame);
        status["clockSync"] = syncKey(frame);
        status["resolutionDp1"] = res1;
        status["resolutionDp1Text"] = orNull(text1);
        status["resolutionDp2"] = res2;
        status["resolutionDp2Text"] = orNull(text2);
        status["hLimit"] = byteAt(frame_offset::hLimit);
        status["vLimit"] = byteAt(frame_offset::vLimit);
        status["hBezel"] = byteAt(frame_offset::hBezel);
        status["vBezel"] = byteAt(frame_offset::vBezel);
        status["flags"] = flagsHex(frame);
        status["frame"] = frameHex(frame);
        console.print(status);
        return;
    }
    auto num = [&](int offset) { return std::to_string(byteAt(offset)); };
    console.out() << boxHead(link, index) << ": mode " << modeKey(frame) << ", "
                  << frameRateHz(frame) << " Hz, sync " << syncKey(frame) << ", DP1 "
                  << text1.value_or("-") << " [" << num(frame_offset::resolutionDp1) << "], DP2 "
                  << text2.value_or("-") << " [" << num(frame_offset::resolutionDp2)
                  << "], H limit " << num(frame_offset::hLimit) << ", V limit "
                  << num(frame_offset::vLimit) << ", H bezel " << num(frame_offset::hBezel)
                  << ", V bezel " << num(frame_offset::vBezel) << ", flags " << flagsHex(frame)
                  << ", frame " << frameHex(frame) << "\n";
}

void writePattern(Console& console, const DeviceLink& link, int index, const char* state) {
    if (console.json()) {
        Json line = boxJson(link, index, "box");
        line["pattern"] = state;
        console.print(line);
        return;
    }
    console.out() << boxHead(link, index) << ": pattern " << state << "\n";
}

void writeAppliedToAll(Console& console, const DeviceLink& link) {
    if (console.json()) {
        console.print(Json{{"applied", link.boxCount()}});
        return;
    }
    console.out() << "applied to " << link.boxCount() << " box"
                  << (link.boxCount() == 1 ? "" : "es") << "\n";
}

namespace {

// The port map's source names, as the JSON and the text show them.
const char* sourceName(PortSource source) {
    switch (source) {
        case PortSource::File:
            return "file";
        case PortSource::Env:
            return "env";
        case PortSource::Option:
            return "option";
        case PortSource::Default:
            break;
    }
    return "default";
}

}  // namespace

void writePorts(Console& console, const std::function<PortReport(int)>& check) {
    Json ports = Json::array();
    for (int com = kFirstMappedPort; com <= kLastMappedPort; ++com) {
        const PortReport r = check(com);
        if (console.json()) {
            ports.push_back(Json{{"com", com},
                                 {"path", r.mapping.path},
                                 {"source", sourceName(r.mapping.source)},
                                 {"exists", r.exists},
                                 {"openable", r.openable},
                                 {"error", r.error.empty() ? Json(nullptr) : Json(r.error)}});
            continue;
        }
        console.out() << "COM" << com << " " << r.mapping.path << " ("
                      << sourceName(r.mapping.source) << "): "
                      << (r.openable ? "opens"
                          : r.exists ? "exists, does not open"
                                     : "missing");
        if (!r.error.empty() && r.exists) {
            console.out() << ": " << r.error;
        }
        console.out() << "\n";
    }
    if (console.json()) {
        console.print(Json{{"ports", ports}});
    }
}

}  // namespace quelt::cli

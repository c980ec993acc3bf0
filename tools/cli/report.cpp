#include "tools/cli/report.h"

#include "tools/cli/frame_text.h"

namespace quelt::cli {
namespace {

Json orNull(const std::optional<std::string>& text) {
    return text ? Json(*text) : Json(nullptr);
}

}  // namespace

namespace {

// Text that is not UTF-8 (a file or device name can be any bytes) is shown with U+FFFD in its
// place instead of failing the whole output.
std::string dumped(const Json& value) {
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace

void Console::print(const Json& value) {
    out_ << dumped(value) << "\n";
}

int Console::fail(int code, const std::string& text, const Json& more) {
    if (json_) {
        Json object{{"error", text}, {"code", code}};
        if (more.is_object()) {
            object.update(more);
        }
        err_ << dumped(object) << "\n";
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

std::vector<std::string> skippedLines(const DeviceLink& link) {
    std::vector<std::string> lines;
    for (const SkippedPort& port : link.skippedPorts()) {
        lines.push_back(skippedPortLine(port));
    }
    return lines;
}

Json skippedJson(const DeviceLink& link, bool withText) {
    Json skipped = Json::array();
    for (const SkippedPort& port : link.skippedPorts()) {
        Json entry{
            {"com", port.comPort}, {"path", port.path}, {"reason", skipReasonName(port.reason)}};
        if (withText) {
            entry["text"] = skippedPortLine(port);
        }
        skipped.push_back(std::move(entry));
    }
    return skipped;
}

void writeDiscovery(Console& console, const DeviceLink& link) {
    if (console.json()) {
        Json boxes = Json::array();
        for (int i = 0; i < link.boxCount(); ++i) {
            boxes.push_back(boxJson(link, i, "index"));
        }
        console.print(Json{{"boxes", boxes}, {"skipped", skippedJson(link, false)}});
        return;
    }
    for (int i = 0; i < link.boxCount(); ++i) {
        console.out() << boxHead(link, i) << "\n";
    }
    for (const std::string& line : skippedLines(link)) {
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

void writePorts(Console& console, const std::function<PortReport(int)>& check) {
    Json ports = Json::array();
    for (int com = kFirstMappedPort; com <= kLastMappedPort; ++com) {
        const PortReport r = check(com);
        if (console.json()) {
            ports.push_back(Json{{"com", com},
                                 {"path", r.mapping.path},
                                 {"source", portSourceName(r.mapping.source)},
                                 {"exists", r.exists},
                                 {"openable", r.openable},
                                 {"error", r.error.empty() ? Json(nullptr) : Json(r.error)}});
            continue;
        }
        console.out() << "COM" << com << " " << r.mapping.path << " ("
                      << portSourceName(r.mapping.source) << "): "
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

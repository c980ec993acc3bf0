#include "tools/cli/report.h"

#include <string>

#include "tools/cli/frame_text.h"

namespace quelt::cli {
namespace {

// The texts printed here are plain ASCII (names, digits, "1280 x 720"): no escaping needed.
std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string jsonResolution(const std::optional<std::string>& text) {
    return text ? quoted(*text) : "null";
}

std::string boxHead(const DeviceLink& link, int index) {
    const BoxRecord& box = link.box(index);
    return "box " + std::to_string(index) + " COM" + std::to_string(box.comPort) + " FW " +
           std::to_string(box.firmware) + " ID " + std::to_string(box.boxId);
}

std::string boxJsonFields(const DeviceLink& link, int index, const char* indexKey) {
    const BoxRecord& box = link.box(index);
    return std::string("\"") + indexKey + "\":" + std::to_string(index) +
           ",\"com\":" + std::to_string(box.comPort) +
           ",\"firmware\":" + std::to_string(box.firmware) +
           ",\"boxId\":" + std::to_string(box.boxId);
}

}  // namespace

void writeDiscovery(std::ostream& out, const DeviceLink& link, bool json) {
    if (json) {
        out << "{\"boxes\":[";
        for (int i = 0; i < link.boxCount(); ++i) {
            out << (i > 0 ? "," : "") << "{" << boxJsonFields(link, i, "index") << "}";
        }
        out << "]}\n";
        return;
    }
    for (int i = 0; i < link.boxCount(); ++i) {
        out << boxHead(link, i) << "\n";
    }
}

void writeStatus(std::ostream& out, const DeviceLink& link, int index, const DeviceFrame& frame,
                 bool json) {
    const std::uint8_t res1 = frame[frame_offset::resolutionDp1];
    const std::uint8_t res2 = frame[frame_offset::resolutionDp2];
    const auto text1 = resolutionText(frame, res1);
    const auto text2 = resolutionText(frame, res2);
    auto num = [&frame](int offset) {
        return std::to_string(frame[static_cast<std::size_t>(offset)]);
    };
    if (json) {
        out << "{" << boxJsonFields(link, index, "box") << ",\"mode\":" << quoted(modeKey(frame))
            << ",\"frameRate\":" << frameRateHz(frame)
            << ",\"clockSync\":" << quoted(syncKey(frame))
            << ",\"resolutionDp1\":" << static_cast<int>(res1)
            << ",\"resolutionDp1Text\":" << jsonResolution(text1)
            << ",\"resolutionDp2\":" << static_cast<int>(res2)
            << ",\"resolutionDp2Text\":" << jsonResolution(text2)
            << ",\"hLimit\":" << num(frame_offset::hLimit)
            << ",\"vLimit\":" << num(frame_offset::vLimit)
            << ",\"hBezel\":" << num(frame_offset::hBezel)
            << ",\"vBezel\":" << num(frame_offset::vBezel)
            << ",\"flags\":" << quoted(flagsHex(frame)) << ",\"frame\":" << quoted(frameHex(frame))
            << "}\n";
        return;
    }
    out << boxHead(link, index) << ": mode " << modeKey(frame) << ", " << frameRateHz(frame)
        << " Hz, sync " << syncKey(frame) << ", DP1 " << text1.value_or("-") << " ["
        << num(frame_offset::resolutionDp1) << "], DP2 " << text2.value_or("-") << " ["
        << num(frame_offset::resolutionDp2) << "], H limit " << num(frame_offset::hLimit)
        << ", V limit " << num(frame_offset::vLimit) << ", H bezel " << num(frame_offset::hBezel)
        << ", V bezel " << num(frame_offset::vBezel) << ", flags " << flagsHex(frame) << ", frame "
        << frameHex(frame) << "\n";
}

void writePattern(std::ostream& out, const DeviceLink& link, int index, const char* state,
                  bool json) {
    if (json) {
        out << "{" << boxJsonFields(link, index, "box") << ",\"pattern\":" << quoted(state)
            << "}\n";
        return;
    }
    out << boxHead(link, index) << ": pattern " << state << "\n";
}

void writeAppliedToAll(std::ostream& out, const DeviceLink& link, bool json) {
    if (json) {
        out << "{\"applied\":" << link.boxCount() << "}\n";
        return;
    }
    out << "applied to " << link.boxCount() << " box" << (link.boxCount() == 1 ? "" : "es") << "\n";
}

}  // namespace quelt::cli

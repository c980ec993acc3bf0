#include "tools/boxsim/box_model.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace quelt::sim {
namespace {

constexpr std::uint8_t kJunkByte = 0x5A;
constexpr std::size_t kSplitFirstPart = 10;

// Decimal or 0x-hex, the whole text, within [low, high].
std::optional<int> parseNumber(const std::string& text, int low, int high) {
    if (text.empty()) {
        return std::nullopt;
    }
    int base = 10;
    std::size_t start = 0;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        start = 2;
    }
    long value = 0;
    for (std::size_t i = start; i < text.size(); ++i) {
        const char c = text[i];
        int digit = -1;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (base == 16 && c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (base == 16 && c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        }
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * base + digit;
        if (value > high) {
            return std::nullopt;
        }
    }
    if (value < low) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

std::vector<std::string> splitOn(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t begin = 0;
    for (;;) {
        const std::size_t end = text.find(separator, begin);
        parts.push_back(
            text.substr(begin, end == std::string::npos ? std::string::npos : end - begin));
        if (end == std::string::npos) {
            return parts;
        }
        begin = end + 1;
    }
}

struct FaultName {
    const char* name;
    FaultKind kind;
    bool hasValue;
    bool valueIsCode;
};

constexpr FaultName kFaultNames[] = {
    {"silent", FaultKind::Silent, false, false},  {"nak", FaultKind::Negative, true, true},
    {"badend", FaultKind::BadEnd, true, true},    {"wrongcode", FaultKind::WrongCode, true, true},
    {"split", FaultKind::Split, true, false},     {"delay", FaultKind::Delay, true, false},
    {"garbage", FaultKind::Garbage, true, false},
};

std::optional<Fault> parseOneFault(const std::string& text) {
    const std::size_t eq = text.find('=');
    const std::string name = text.substr(0, eq);
    for (const FaultName& entry : kFaultNames) {
        if (name != entry.name) {
            continue;
        }
        Fault fault{entry.kind};
        if (!entry.hasValue) {
            return eq == std::string::npos ? std::optional<Fault>(fault) : std::nullopt;
        }
        if (eq == std::string::npos) {
            return std::nullopt;
        }
        const auto value = parseNumber(text.substr(eq + 1), 0, entry.valueIsCode ? 255 : 3'600'000);
        if (!value) {
            return std::nullopt;
        }
        if (entry.valueIsCode) {
            fault.code = *value;
        } else if (entry.kind == FaultKind::Garbage) {
            fault.count = *value;
        } else {
            fault.ms = *value;
        }
        return fault;
    }
    return std::nullopt;
}

const char* commandName(std::uint8_t code) {
    switch (static_cast<DeviceCommand>(code)) {
        case DeviceCommand::ApplySettings:
            return "ApplySettings";
        case DeviceCommand::HardwareReset:
            return "HardwareReset";
        case DeviceCommand::SoftwareReset:
            return "SoftwareReset";
        case DeviceCommand::PatternOn:
            return "PatternOn";
        case DeviceCommand::PatternOff:
            return "PatternOff";
        case DeviceCommand::SetBoxId:
            return "SetBoxId";
        case DeviceCommand::RgbwPatternOn:
            return "RgbwPatternOn";
        case DeviceCommand::FinishApply:
            return "FinishApply";
    }
    return "Unknown";
}

void copySettings(DeviceFrame& to, const DeviceFrame& from) {
    for (int i = frame_offset::flags; i < frame_offset::endMark; ++i) {
        to[static_cast<std::size_t>(i)] = from[static_cast<std::size_t>(i)];
    }
}

}  // namespace

std::optional<std::vector<Fault>> parseFaults(const std::string& text) {
    std::vector<Fault> faults;
    if (text.empty()) {
        return faults;
    }
    for (const std::string& part : splitOn(text, ',')) {
        auto fault = parseOneFault(part);
        if (!fault) {
            return std::nullopt;
        }
        faults.push_back(*fault);
    }
    return faults;
}

DeviceFrame BoxConfig::defaultSettings() {
    DeviceFrame frame;
    frame[frame_offset::hLimit] = 50;
    frame[frame_offset::vLimit] = 15;
    return frame;
}

std::optional<BoxConfig> parseBoxSpec(const std::string& text) {
    const std::vector<std::string> parts = splitOn(text, ':');
    if (parts.size() < 3 || parts.size() > 4) {
        return std::nullopt;
    }
    const auto com = parseNumber(parts[0], 1, 255);
    const auto firmware = parseNumber(parts[1], 0, 255);
    const auto id = parseNumber(parts[2], 0, 255);
    if (!com || !firmware || !id) {
        return std::nullopt;
    }
    BoxConfig config;
    config.com = *com;
    config.firmware = static_cast<std::uint8_t>(*firmware);
    config.boxId = static_cast<std::uint8_t>(*id);
    if (parts.size() == 4) {
        auto faults = parseFaults(parts[3]);
        if (!faults || faults->empty()) {
            return std::nullopt;
        }
        config.faults = std::move(*faults);
    }
    return config;
}

BoxModel::BoxModel(BoxConfig config)
    : config_(std::move(config)), boxId_(config_.boxId), settings_(config_.settings) {}

const Fault* BoxModel::findFault(FaultKind kind, int code) const {
    for (const Fault& fault : config_.faults) {
        if (fault.kind == kind && (code < 0 || fault.code == code)) {
            return &fault;
        }
    }
    return nullptr;
}

std::vector<ReplyChunk> BoxModel::receive(const std::uint8_t* data, std::size_t length) {
    std::vector<ReplyChunk> out;
    for (std::size_t i = 0; i < length; ++i) {
        Request request;
        if (partial_.empty() && data[i] == kStatusRequest) {
            request.status = true;
        } else {
            partial_.push_back(data[i]);
            if (partial_.size() < kFrameSize) {
                continue;
            }
            for (std::size_t k = 0; k < kFrameSize; ++k) {
                request.frame[k] = partial_[k];
            }
            partial_.clear();
        }
        requests_.push_back(request);
        for (ReplyChunk& chunk : answer(request)) {
            out.push_back(std::move(chunk));
        }
    }
    return out;
}

void BoxModel::takeEffect(const DeviceFrame& command) {
    switch (static_cast<DeviceCommand>(command[frame_offset::code])) {
        case DeviceCommand::ApplySettings:
        case DeviceCommand::FinishApply:
            copySettings(settings_, command);
            break;
        case DeviceCommand::SetBoxId:
            boxId_ = command[frame_offset::boxId];
            break;
        case DeviceCommand::PatternOn:
            patternOn_ = true;
            rgbwOn_ = false;
            break;
        case DeviceCommand::RgbwPatternOn:
            rgbwOn_ = true;
            patternOn_ = false;
            break;
        case DeviceCommand::PatternOff:
        case DeviceCommand::HardwareReset:
        case DeviceCommand::SoftwareReset:
            patternOn_ = false;
            rgbwOn_ = false;
            break;
    }
}

std::vector<ReplyChunk> BoxModel::answer(const Request& request) {
    if (findFault(FaultKind::Silent, -1)) {
        return {};
    }
    const int code = request.status ? kStatusRequest : request.frame[frame_offset::code];
    DeviceFrame reply;
    if (request.status) {
        copySettings(reply, settings_);
        reply[frame_offset::code] = kStatusRequest;
        reply[1] = kMarkerT;
        reply[frame_offset::firmware] = config_.firmware;
        reply[frame_offset::boxId] = boxId_;
    } else {
        reply = request.frame;
    }
    reply[frame_offset::endMark] = kEndMark;

    if (findFault(FaultKind::Negative, code)) {
        reply[frame_offset::code] = kNegativeReply;
    } else {
        if (!request.status) {
            takeEffect(request.frame);
        }
        if (findFault(FaultKind::BadEnd, code)) {
            reply[frame_offset::endMark] = 0x55;
        }
        if (findFault(FaultKind::WrongCode, code)) {
            std::uint8_t other = static_cast<std::uint8_t>(code + 1);
            if (other == kNegativeReply) {
                other = static_cast<std::uint8_t>(other + 1);
            }
            reply[frame_offset::code] = other;
        }
    }

    int delayMs = 0;
    if (const Fault* delay = findFault(FaultKind::Delay, -1)) {
        delayMs = delay->ms;
    }
    std::vector<ReplyChunk> chunks;
    if (const Fault* split = findFault(FaultKind::Split, -1)) {
        chunks.push_back({delayMs, {reply.bytes.begin(), reply.bytes.begin() + kSplitFirstPart}});
        chunks.push_back(
            {delayMs + split->ms, {reply.bytes.begin() + kSplitFirstPart, reply.bytes.end()}});
    } else {
        chunks.push_back({delayMs, {reply.bytes.begin(), reply.bytes.end()}});
    }
    if (const Fault* garbage = findFault(FaultKind::Garbage, -1)) {
        chunks.push_back(
            {chunks.back().delayMs,
             std::vector<std::uint8_t>(static_cast<std::size_t>(garbage->count), kJunkByte)});
    }
    return chunks;
}

std::string requestJson(int com, const Request& request) {
    char head[64];
    std::snprintf(head, sizeof head, "{\"com\":%d,\"kind\":", com);
    std::string json = head;
    if (request.status) {
        return json + "\"status\"}";
    }
    const std::uint8_t code = request.frame[frame_offset::code];
    std::snprintf(head, sizeof head, "\"command\",\"code\":%u,\"name\":\"",
                  static_cast<unsigned>(code));
    json += head;
    json += commandName(code);
    json += "\",\"frame\":\"";
    for (std::uint8_t byte : request.frame.bytes) {
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02x", static_cast<unsigned>(byte));
        json += hex;
    }
    return json + "\"}";
}

}  // namespace quelt::sim

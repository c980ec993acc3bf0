#include "tools/cli/profile_format.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "device/device_link.h"
#include "tools/cli/frame_edit.h"
#include "tools/cli/frame_text.h"

namespace quelt::cli {
namespace {

// A value from the file as a fault shows it: JSON-escaped, at most 40 characters.
std::string shown(const Json& value) {
    constexpr std::size_t kMaxShown = 40;
    std::string text = value.dump();
    return text.size() <= kMaxShown ? text : text.substr(0, kMaxShown) + "...";
}

template <class T>
using Choices = std::vector<std::pair<Json, T>>;

const Choices<ModeChoice> kModes = {{"1x2", ModeChoice::Stretch1x2},
                                    {"1x4", ModeChoice::Stretch1x4},
                                    {"2x2", ModeChoice::Stretch2x2},
                                    {"clone", ModeChoice::Clone}};
const Choices<bool> kRates = {{60, false}, {120, true}};
const Choices<SyncChoice> kSyncs = {
    {"dp1", SyncChoice::Dp1}, {"dp2", SyncChoice::Dp2}, {"off", SyncChoice::Off}};
const Choices<std::uint8_t> kHLimits = {{0, 0},     {50, 50},   {100, 100},
                                        {150, 150}, {200, 200}, {250, 250}};
const Choices<std::uint8_t> kVLimits = {{15, 15}, {30, 30}, {45, 45}, {60, 60}};

// The members of one JSON object, read field by field; the first fault of the whole text is
// kept in `fault` and every later read does nothing.
class ObjectReader {
  public:
    ObjectReader(const Json& object, std::string where, std::string prefix, std::string& fault)
        : object_(object), where_(std::move(where)), prefix_(std::move(prefix)), fault_(fault) {}

    void rejectUnknown(std::initializer_list<const char*> known) {
        for (const auto& item : object_.items()) {
            const std::string& key = item.key();
            if (std::none_of(known.begin(), known.end(), [&](const char* k) { return key == k; })) {
                const bool plain =
                    key.size() <= 40 &&
                    std::all_of(key.begin(), key.end(), [](char c) { return c > ' ' && c < 0x7f; });
                fail(plain ? key : shown(Json(key)), "unknown field");
            }
        }
    }

    void fail(const std::string& field, const std::string& problem) {
        if (fault_.empty()) {
            fault_ = where_ + prefix_ + field + ": " + problem;
        }
    }

    const Json* member(const char* key) {
        if (!fault_.empty()) {
            return nullptr;
        }
        auto it = object_.find(key);
        if (it == object_.end()) {
            fail(key, "missing");
            return nullptr;
        }
        return &*it;
    }

    std::optional<int> integer(const char* key, int low, int high) {
        const Json* node = member(key);
        if (node == nullptr) {
            return std::nullopt;
        }
        if (!node->is_number_integer()) {
            fail(key, shown(*node) + " is not a whole number");
            return std::nullopt;
        }
        const bool tooLarge = node->is_number_unsigned() && node->get<std::uint64_t>() > 65535u;
        const long long value = tooLarge ? 65536 : node->get<long long>();
        if (value < low || value > high) {
            fail(key, shown(*node) + " is outside " + std::to_string(low) + " to " +
                          std::to_string(high));
            return std::nullopt;
        }
        return static_cast<int>(value);
    }

    std::optional<std::string> text(const char* key) {
        const Json* node = member(key);
        if (node != nullptr && !node->is_string()) {
            fail(key, shown(*node) + " is not a text");
        }
        return node != nullptr && node->is_string() ? std::optional(node->get<std::string>())
                                                    : std::nullopt;
    }

    template <class T>
    std::optional<T> oneOf(const char* key, const Choices<T>& choices) {
        const Json* node = member(key);
        if (node == nullptr) {
            return std::nullopt;
        }
        std::string names;
        for (const auto& [name, value] : choices) {
            if (*node == name) {
                return value;
            }
            names += (names.empty() ? "" : ", ") +
                     (name.is_string() ? name.template get<std::string>() : name.dump());
        }
        fail(key, shown(*node) + " is not one of " + names);
        return std::nullopt;
    }

  private:
    const Json& object_;
    std::string where_;
    std::string prefix_;
    std::string& fault_;
};

std::optional<std::uint8_t> asByte(std::optional<int> value) {
    return value ? std::optional<std::uint8_t>(static_cast<std::uint8_t>(*value)) : std::nullopt;
}

// The settings object of one box entry; the lists and limits are those of its own mode, rate
// and limits.
void readSettings(const Json& node, const std::string& where, std::string& fault, SettingEdits& s) {
    if (!node.is_object()) {
        fault = where + "settings: not an object";
        return;
    }
    ObjectReader r(node, where, "settings.", fault);
    r.rejectUnknown({"mode", "frameRate", "clockSync", "resolutionDp1", "resolutionDp2", "hLimit",
                     "vLimit", "hBezel", "vBezel"});
    s.mode = r.oneOf("mode", kModes);
    s.rate120 = r.oneOf("frameRate", kRates);
    s.sync = r.oneOf("clockSync", kSyncs);
    s.resolutionDp1 = asByte(r.integer("resolutionDp1", 0, 255));
    s.resolutionDp2 = asByte(r.integer("resolutionDp2", 0, 255));
    s.hLimit = r.oneOf("hLimit", kHLimits);
    s.vLimit = r.oneOf("vLimit", kVLimits);
    s.hBezel = asByte(r.integer("hBezel", 0, 255));
    s.vBezel = asByte(r.integer("vBezel", 0, 255));
    if (!fault.empty()) {
        return;
    }
    SettingEdits modeAndRate;
    modeAndRate.mode = s.mode;
    modeAndRate.rate120 = s.rate120;
    DeviceFrame result{};
    applyEdits(result, modeAndRate);
    const int entries = resolutionListSize(result);
    const std::string list = " entries of the " + modeKey(result) + " list at " +
                             std::to_string(frameRateHz(result)) + " Hz";
    if (*s.resolutionDp1 >= entries) {
        r.fail("resolutionDp1", std::to_string(*s.resolutionDp1) + " is beyond the " +
                                    std::to_string(entries) + list);
    }
    if (dp2Tied(result) && *s.resolutionDp2 != *s.resolutionDp1) {
        r.fail("resolutionDp2", std::to_string(*s.resolutionDp2) + " differs from resolutionDp1 " +
                                    std::to_string(*s.resolutionDp1) + ", which DP2 follows in " +
                                    modeKey(result));
    } else if (*s.resolutionDp2 >= entries) {
        r.fail("resolutionDp2", std::to_string(*s.resolutionDp2) + " is beyond the " +
                                    std::to_string(entries) + list);
    }
    if (*s.hBezel > *s.hLimit) {
        r.fail("hBezel",
               std::to_string(*s.hBezel) + " is above hLimit " + std::to_string(*s.hLimit));
    }
    if (*s.vBezel > *s.vLimit) {
        r.fail("vBezel",
               std::to_string(*s.vBezel) + " is above vLimit " + std::to_string(*s.vLimit));
    }
}

bool isFrameHex(const std::string& text) {
    return text.size() == 2 * kFrameSize && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
           });
}

// "boxes[1] (COM4, ID 2): " with what of the COM port and ID can be read.
std::string entryName(const Json& entry, std::size_t index) {
    std::string name = "boxes[" + std::to_string(index) + "]";
    if (!entry.is_object()) {
        return name + ": ";
    }
    std::string known;
    if (auto com = entry.find("com"); com != entry.end() && com->is_number_integer()) {
        known = "COM" + com->dump();
    }
    if (auto id = entry.find("boxId"); id != entry.end() && id->is_number_integer()) {
        known += (known.empty() ? "ID " : ", ID ") + id->dump();
    }
    return name + (known.empty() ? "" : " (" + known + ")") + ": ";
}

void readBoxes(const Json& list, std::string& fault, std::vector<ProfileBox>& boxes) {
    if (!list.is_array() || list.empty() || list.size() > static_cast<std::size_t>(kMaxBoxes)) {
        fault = "boxes: not a list of 1 to " + std::to_string(kMaxBoxes) + " box entries";
        return;
    }
    for (std::size_t i = 0; i < list.size() && fault.empty(); ++i) {
        const Json& entry = list[i];
        const std::string where = entryName(entry, i);
        if (!entry.is_object()) {
            fault = where + "not an object";
            return;
        }
        ObjectReader r(entry, where, "", fault);
        r.rejectUnknown({"com", "boxId", "firmware", "settings", "frame"});
        ProfileBox box;
        box.com = r.integer("com", kFirstComPort, kLastComPort).value_or(0);
        box.boxId = r.integer("boxId", 1, kMaxBoxes).value_or(0);
        box.firmware = r.integer("firmware", 0, 255).value_or(0);
        if (const Json* settings = r.member("settings")) {
            readSettings(*settings, where, fault, box.settings);
        }
        box.frame = r.text("frame").value_or("");
        if (fault.empty() && !isFrameHex(box.frame)) {
            r.fail("frame",
                   shown(box.frame) + " is not " + std::to_string(2 * kFrameSize) + " hex digits");
        }
        for (std::size_t k = 0; k < boxes.size() && fault.empty(); ++k) {
            if (boxes[k].com == box.com) {
                r.fail("com", "COM" + std::to_string(box.com) + " is already in boxes[" +
                                  std::to_string(k) + "]");
            }
        }
        boxes.push_back(box);
    }
}

}  // namespace

Json settingsJson(const DeviceFrame& frame) {
    return Json{{"mode", modeKey(frame)},
                {"frameRate", frameRateHz(frame)},
                {"clockSync", syncKey(frame)},
                {"resolutionDp1", frame[frame_offset::resolutionDp1]},
                {"resolutionDp2", frame[frame_offset::resolutionDp2]},
                {"hLimit", frame[frame_offset::hLimit]},
                {"vLimit", frame[frame_offset::vLimit]},
                {"hBezel", frame[frame_offset::hBezel]},
                {"vBezel", frame[frame_offset::vBezel]}};
}

std::string profileText(const std::vector<SavedBox>& boxes, const std::string& saved) {
    Json entries = Json::array();
    for (const SavedBox& box : boxes) {
        entries.push_back(Json{{"com", box.com},
                               {"boxId", box.boxId},
                               {"firmware", box.firmware},
                               {"settings", settingsJson(box.frame)},
                               {"frame", frameHex(box.frame)}});
    }
    const Json profile{{"format", kProfileFormat},
                       {"version", kProfileVersion},
                       {"saved", saved},
                       {"boxes", entries}};
    return profile.dump(2) + "\n";
}

ProfileRead readProfile(const std::string& text) {
    ProfileRead read;
    Json root;
    try {
        root = Json::parse(text);
    } catch (const Json::parse_error& error) {
        std::string what = error.what();
        read.fault = "not valid JSON: " + what.substr(what.find("] ") + 2);
        return read;
    }
    if (!root.is_object()) {
        read.fault = "not a JSON object";
        return read;
    }
    std::string& fault = read.fault;
    ObjectReader r(root, "", "", fault);
    if (auto format = r.text("format"); format && *format != kProfileFormat) {
        r.fail("format", shown(*format) + " is not " + kProfileFormat);
    }
    if (const Json* version = r.member("version"); version && *version != kProfileVersion) {
        r.fail("version", shown(*version) + " is not supported (this quelt-cli reads version " +
                              std::to_string(kProfileVersion) + ")");
    }
    r.rejectUnknown({"format", "version", "saved", "boxes"});
    r.text("saved");
    std::vector<ProfileBox> boxes;
    if (const Json* list = r.member("boxes")) {
        readBoxes(*list, fault, boxes);
    }
    if (fault.empty()) {
        read.boxes = std::move(boxes);
    }
    return read;
}

std::string utcTimestamp(std::chrono::system_clock::time_point when) {
    using namespace std::chrono;
    const auto seconds = floor<std::chrono::seconds>(when);
    const auto day = floor<days>(seconds);
    const year_month_day date{day};
    const hh_mm_ss time{seconds - day};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ",
                  static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
                  static_cast<unsigned>(date.day()), static_cast<int>(time.hours().count()),
                  static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()));
    return text;
}

std::vector<int> matchBoxes(const std::vector<ProfileBox>& saved,
                            const std::vector<FoundBox>& found) {
    auto withId = [](const auto& boxes, int id) {
        return std::count_if(boxes.begin(), boxes.end(),
                             [id](const auto& box) { return box.boxId == id; });
    };
    std::vector<int> matches;
    for (const ProfileBox& box : saved) {
        const bool byCom = withId(found, box.boxId) > 1 || withId(saved, box.boxId) > 1;
        int match = -1;
        for (std::size_t i = 0; i < found.size() && match < 0; ++i) {
            if (found[i].boxId == box.boxId && (!byCom || found[i].com == box.com)) {
                match = static_cast<int>(i);
            }
        }
        matches.push_back(match);
    }
    return matches;
}

}  // namespace quelt::cli

#include "tools/cli/profile_commands.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <random>
#include <system_error>
#include <utility>

#include "base/shown_text.h"
#include "tools/cli/frame_edit.h"
#include "tools/cli/profile_format.h"

namespace quelt::cli {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMaxProfileBytes = 1u << 20;

std::string systemError() {
    return std::generic_category().message(errno);
}

// The whole text of the profile file (or of standard input for "-"); empty `problem` on success.
std::string readProfileFile(const std::string& name, std::istream& in, std::string& problem) {
    std::ifstream file;
    std::istream* source = &in;
    if (name != "-") {
        file.open(fs::path(name), std::ios::binary);
        if (!file) {
            problem = "cannot read " + shownText(name) + ": " + systemError();
            return {};
        }
        source = &file;
    }
    std::string text;
    char buffer[4096];
    while (source->read(buffer, sizeof buffer) || source->gcount() > 0) {
        text.append(buffer, static_cast<std::size_t>(source->gcount()));
        if (text.size() > kMaxProfileBytes) {
            problem = shownText(name) + ": larger than " + std::to_string(kMaxProfileBytes) +
                      " bytes, not a profile";
            return {};
        }
    }
    if (source->bad()) {
        problem = "cannot read " + shownText(name);
    }
    return text;
}

// A setting that restoring changes: its name (as in `status --json`), old and new value.
struct Change {
    std::string field;
    Json before;
    Json after;
};

std::vector<Change> changesOf(const DeviceFrame& current, const SettingEdits& settings) {
    DeviceFrame target = current;
    applyEdits(target, settings);
    const Json before = settingsJson(current);
    const Json after = settingsJson(target);
    std::vector<Change> changes;
    for (const auto& [field, value] : before.items()) {
        if (value != after.at(field)) {
            changes.push_back({field, value, after.at(field)});
        }
    }
    return changes;
}

std::string valueText(const Json& value) {
    return value.is_string() ? value.get<std::string>() : value.dump();
}

// "mode 1x2 -> 2x2, hBezel 0 -> 20" or "unchanged"
std::string changesText(const std::vector<Change>& changes) {
    std::string text;
    for (const Change& change : changes) {
        text += (text.empty() ? "" : ", ") + change.field + " " + valueText(change.before) +
                " -> " + valueText(change.after);
    }
    return text.empty() ? "unchanged" : text;
}

std::string savedName(std::size_t entry, const ProfileBox& box) {
    return "boxes[" + std::to_string(entry) + "] (COM" + std::to_string(box.com) + ", ID " +
           std::to_string(box.boxId) + ")";
}

// What restore prints: a line per box as it goes, or with --json one report at the end.
class RestoreReport {
  public:
    RestoreReport(Session& session, bool dryRun) : s_(session), dryRun_(dryRun) {}

    void missing(std::size_t entry, const ProfileBox& box) {
        add(Json{{"entry", entry}, {"com", box.com}, {"boxId", box.boxId}, {"result", "missing"}},
            savedName(entry, box) + ": missing, skipped");
    }

    // `result`: "unchanged" or "would change" (dry run), "restored" or "failed".
    void box(std::size_t entry, int index, const std::string& result,
             const std::vector<Change>& changes) {
        Json line = boxJson(s_.link, index, "box");
        line["entry"] = entry;
        line["result"] = result;
        Json changed = Json::object();
        for (const Change& change : changes) {
            changed[change.field] = Json{{"old", change.before}, {"new", change.after}};
        }
        line["changes"] = changed;
        const std::string head = boxHead(s_.link, index) + ": ";
        if (result != "failed") {  // a failure is told on the error stream
            add(line, head + (dryRun_ ? changesText(changes)
                                      : "restored (" + changesText(changes) + ")"));
        } else {
            add(line, {});
        }
    }

    void finish() {
        if (s_.console.json()) {
            s_.console.print(Json{{"dryRun", dryRun_}, {"boxes", entries_}});
        }
    }

  private:
    void add(Json entry, const std::string& text) {
        entries_.push_back(std::move(entry));
        if (!s_.console.json() && !text.empty()) {
            s_.console.out() << text << "\n";
        }
    }

    Session& s_;
    bool dryRun_;
    Json entries_ = Json::array();
};

}  // namespace

std::string writeFileAtomically(const fs::path& path, const std::string& text) {
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    std::random_device random;
    std::error_code ec;
    fs::path temp;
    do {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(random()));
        temp = folder / ("." + path.filename().string() + "." + suffix + ".tmp");
    } while (fs::exists(temp, ec));

    std::ofstream file(temp, std::ios::binary | std::ios::trunc);
    if (!file) {
        return "cannot write " + shownText(path.string()) + ": " + systemError();
    }
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    file.close();
    if (file.fail()) {
        fs::remove(temp, ec);
        return "cannot write " + shownText(path.string()) + ": " + systemError();
    }
    fs::rename(temp, path, ec);  // replaces an existing file, on Windows too
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return "cannot replace " + shownText(path.string()) + ": " + ec.message();
    }
    return {};
}

int runSave(Session& s, const SaveArgs& args) {
    if (int status = s.connect(args.box.value_or(0)); status != kExitOk) {
        return status;
    }
    std::vector<int> indices;
    for (int i = 0; i < s.link.boxCount(); ++i) {
        if (!args.box || *args.box == i) {
            indices.push_back(i);
        }
    }
    std::vector<SavedBox> boxes;
    for (int index : indices) {
        if (int status = s.select(index, boxHead(s.link, index) + ": "); status != kExitOk) {
            return status;
        }
        const BoxRecord& record = s.link.box(index);
        boxes.push_back({record.comPort, record.boxId, record.firmware, s.link.deviceFrame()});
    }
    const std::string text = profileText(boxes, utcTimestamp(s.env.now()));
    // What is written must restore: a box reporting settings no profile can hold is refused.
    if (ProfileRead check = readProfile(text); !check.fault.empty()) {
        return s.console.fail(kExitFailed, "cannot save what the boxes reported: " + check.fault +
                                               "; nothing was written");
    }
    if (args.file == "-") {
        s.env.out << text;
        return kExitOk;
    }
    if (std::string problem = writeFileAtomically(args.file, text); !problem.empty()) {
        return s.console.fail(kExitFailed, problem);
    }
    Json saved = Json::array();
    for (int index : indices) {
        saved.push_back(boxJson(s.link, index, "box"));
        if (!s.console.json()) {
            s.console.out() << boxHead(s.link, index) << ": saved to " << shownText(args.file)
                            << "\n";
        }
    }
    if (s.console.json()) {
        s.console.print(Json{{"file", args.file}, {"boxes", saved}});
    }
    return kExitOk;
}

int runRestore(Session& s, const RestoreArgs& args) {
    std::string problem;
    const std::string text = readProfileFile(args.file, s.env.in, problem);
    if (!problem.empty()) {
        return s.console.fail(kExitUsage, problem + "; nothing was sent");
    }
    const ProfileRead profile = readProfile(text);
    if (!profile.fault.empty()) {
        return s.console.fail(kExitUsage,
                              shownText(args.file) + ": " + profile.fault + "; nothing was sent");
    }
    if (int status = s.connect(0); status != kExitOk) {
        return status;
    }
    std::vector<FoundBox> found;
    for (int i = 0; i < s.link.boxCount(); ++i) {
        found.push_back({s.link.box(i).comPort, s.link.box(i).boxId});
    }
    const std::vector<int> matches = matchBoxes(profile.boxes, found);
    std::string missing;
    std::vector<std::pair<int, std::size_t>> order;  // table index, entry
    for (std::size_t entry = 0; entry < matches.size(); ++entry) {
        if (matches[entry] < 0) {
            missing += (missing.empty() ? "" : ", ") + savedName(entry, profile.boxes[entry]);
        } else {
            order.emplace_back(matches[entry], entry);
        }
    }
    if (!missing.empty() && !args.skipMissing) {
        return s.console.fail(kExitFailed, shownText(args.file) + ": no box found for " + missing +
                                               "; nothing was sent (--skip-missing restores "
                                               "the others)");
    }
    std::sort(order.begin(), order.end());

    RestoreReport report(s, args.dryRun);
    for (std::size_t entry = 0; entry < matches.size(); ++entry) {
        if (matches[entry] < 0) {
            report.missing(entry, profile.boxes[entry]);
        }
    }
    std::string restored;
    int status = kExitOk;
    for (const auto& [index, entry] : order) {
        const std::string context =
            "restore stopped at " + boxHead(s.link, index) +
            " (restored before it: " + (restored.empty() ? "none" : restored) + "): ";
        if (status = s.select(index, context); status != kExitOk) {
            report.box(entry, index, "failed", {});
            break;
        }
        const SettingEdits& saved = profile.boxes[entry].settings;
        const std::vector<Change> changes = changesOf(s.link.deviceFrame(), saved);
        if (args.dryRun) {
            report.box(entry, index, changes.empty() ? "unchanged" : "would change", changes);
            continue;
        }
        s.edits = saved;
        s.link.syncToAll = 0;
        status = s.runWorker(OperationKind::Apply, kButtonApply, context);
        report.box(entry, index, status == kExitOk ? "restored" : "failed", changes);
        if (status != kExitOk) {
            break;
        }
        restored += (restored.empty() ? "" : ", ") + boxHead(s.link, index);
    }
    report.finish();
    return status;
}

}  // namespace quelt::cli

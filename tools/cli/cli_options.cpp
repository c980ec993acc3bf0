#include "tools/cli/cli_options.h"

#include <array>
#include <functional>
#include <string_view>

namespace quelt::cli {

const char* const kCliUsage =
    "usage: quelt-cli discover [--json]\n"
    "       quelt-cli status [--box N] [--json]\n"
    "       quelt-cli apply [--box N | --all] [--mode 1x2|1x4|2x2|clone] [--rate 60|120]\n"
    "                 [--sync dp1|dp2|off] [--res1 I] [--res2 I] [--hlimit 0|50|100|150|200|250]\n"
    "                 [--vlimit 15|30|45|60] [--hbezel V] [--vbezel V] [--id 1..6] [--json]\n"
    "       quelt-cli reset hw|sw [--box N] [--json]\n"
    "       quelt-cli pattern on|rgbw|off [--box N] [--json]\n"
    "Box N is the index in the discovered list (0 to 5). Exit status: 0 done, 1 the boxes\n"
    "reported a failure, 2 bad arguments (nothing sent).\n";

namespace {

constexpr int kMaxResolutionIndex = 13;
constexpr int kMaxHBezel = 250;
constexpr int kMaxVBezel = 60;

std::optional<int> parseDecimal(std::string_view text, int low, int high) {
    if (text.empty() || text.size() > 4) {
        return std::nullopt;
    }
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    if (value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

template <class T, std::size_t N>
std::optional<T> lookup(std::string_view text,
                        const std::array<std::pair<std::string_view, T>, N>& names) {
    for (const auto& [name, value] : names) {
        if (text == name) {
            return value;
        }
    }
    return std::nullopt;
}

constexpr std::array<std::pair<std::string_view, ModeChoice>, 4> kModes{{
    {"1x2", ModeChoice::Stretch1x2},
    {"1x4", ModeChoice::Stretch1x4},
    {"2x2", ModeChoice::Stretch2x2},
    {"clone", ModeChoice::Clone},
}};
constexpr std::array<std::pair<std::string_view, SyncChoice>, 3> kSyncs{{
    {"dp1", SyncChoice::Dp1},
    {"dp2", SyncChoice::Dp2},
    {"off", SyncChoice::Off},
}};
constexpr std::array<std::pair<std::string_view, bool>, 2> kRates{{{"60", false}, {"120", true}}};
constexpr std::array<std::pair<std::string_view, std::uint8_t>, 6> kHLimits{
    {{"0", 0}, {"50", 50}, {"100", 100}, {"150", 150}, {"200", 200}, {"250", 250}}};
constexpr std::array<std::pair<std::string_view, std::uint8_t>, 4> kVLimits{
    {{"15", 15}, {"30", 30}, {"45", 45}, {"60", 60}}};
constexpr std::array<std::pair<std::string_view, ResetChoice>, 2> kResets{
    {{"hw", ResetChoice::Hardware}, {"sw", ResetChoice::Software}}};
constexpr std::array<std::pair<std::string_view, PatternChoice>, 3> kPatterns{
    {{"on", PatternChoice::On}, {"rgbw", PatternChoice::Rgbw}, {"off", PatternChoice::Off}}};

template <class T>
bool store(std::optional<T>& field, std::optional<T> value) {
    if (!value) {
        return false;
    }
    field = value;
    return true;
}

template <class T>
bool storeChoice(T& field, std::optional<T> value) {
    if (!value) {
        return false;
    }
    field = *value;
    return true;
}

std::optional<std::uint8_t> byteIn(std::string_view text, int low, int high) {
    auto value = parseDecimal(text, low, high);
    if (!value) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(*value);
}

// Options that take a value: which verbs accept them and how the value is stored.
struct ValueOption {
    std::string_view name;
    bool applyOnly;
    std::function<bool(CliCommand&, std::string_view)> set;
};

const std::array<ValueOption, 11>& valueOptions() {
    static const std::array<ValueOption, 11> options{{
        {"--box", false,
         [](CliCommand& c, std::string_view v) {
             auto n = parseDecimal(v, 0, 5);
             if (n)
                 c.box = *n;
             return n.has_value();
         }},
        {"--mode", true,
         [](CliCommand& c, std::string_view v) { return store(c.edits.mode, lookup(v, kModes)); }},
        {"--rate", true,
         [](CliCommand& c, std::string_view v) {
             return store(c.edits.rate120, lookup(v, kRates));
         }},
        {"--sync", true,
         [](CliCommand& c, std::string_view v) { return store(c.edits.sync, lookup(v, kSyncs)); }},
        {"--res1", true,
         [](CliCommand& c, std::string_view v) {
             return store(c.edits.resolutionDp1, byteIn(v, 0, kMaxResolutionIndex));
         }},
        {"--res2", true,
         [](CliCommand& c, std::string_view v) {
             return store(c.edits.resolutionDp2, byteIn(v, 0, kMaxResolutionIndex));
         }},
        {"--hlimit", true,
         [](CliCommand& c, std::string_view v) {
             return store(c.edits.hLimit, lookup(v, kHLimits));
         }},
        {"--vlimit", true,
         [](CliCommand& c, std::string_view v) {
             return store(c.edits.vLimit, lookup(v, kVLimits));
         }},
        {"--hbezel", true,
         [](CliCommand& c, std::string_view v) {
             return store(c.edits.hBezel, byteIn(v, 0, kMaxHBezel));
         }},
        {"--vbezel", true,
         [](CliCommand& c, std::string_view v) {
             return store(c.edits.vBezel, byteIn(v, 0, kMaxVBezel));
         }},
        {"--id", true,
         [](CliCommand& c, std::string_view v) { return store(c.edits.boxId, byteIn(v, 1, 6)); }},
    }};
    return options;
}

ParseResult fail(std::string message, bool showUsage = false) {
    ParseResult result;
    result.error = std::move(message);
    result.showUsage = showUsage;
    return result;
}

}  // namespace

ParseResult parseCommandLine(const std::vector<std::string>& args) {
    if (args.empty()) {
        return fail("no command given", true);
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        ParseResult result;
        result.help = true;
        return result;
    }

    CliCommand command;
    std::size_t next = 1;
    const std::string& verb = args[0];
    if (verb == "discover") {
        command.verb = Verb::Discover;
    } else if (verb == "status") {
        command.verb = Verb::Status;
    } else if (verb == "apply") {
        command.verb = Verb::Apply;
    } else if (verb == "reset" || verb == "pattern") {
        if (args.size() < 2) {
            return fail(verb + " needs " + (verb == "reset" ? "hw or sw" : "on, rgbw or off"));
        }
        bool known = verb == "reset" ? storeChoice(command.reset, lookup(args[1], kResets))
                                     : storeChoice(command.pattern, lookup(args[1], kPatterns));
        if (!known) {
            return fail("unknown " + verb + " kind: " + args[1]);
        }
        command.verb = verb == "reset" ? Verb::Reset : Verb::Pattern;
        next = 2;
    } else {
        return fail("unknown command: " + verb, true);
    }

    bool boxGiven = false;
    for (std::size_t i = next; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> value;
        if (auto eq = name.find('='); eq != std::string::npos && name.rfind("--", 0) == 0) {
            value = name.substr(eq + 1);
            name.resize(eq);
        }
        if (name == "--json" && !value) {
            command.json = true;
            continue;
        }
        if (name == "--all" && !value && command.verb == Verb::Apply) {
            command.all = true;
            continue;
        }
        const ValueOption* option = nullptr;
        for (const ValueOption& candidate : valueOptions()) {
            if (candidate.name == name) {
                option = &candidate;
            }
        }
        bool accepted = option != nullptr && (command.verb == Verb::Apply || !option->applyOnly) &&
                        !(command.verb == Verb::Discover && name == "--box");
        if (!accepted) {
            return fail("unknown option for " + verb + ": " + args[i], true);
        }
        if (!value) {
            if (i + 1 >= args.size()) {
                return fail(name + " needs a value");
            }
            value = args[++i];
        }
        if (!option->set(command, *value)) {
            return fail("bad value for " + name + ": " + *value);
        }
        boxGiven = boxGiven || name == "--box";
    }
    if (command.all && boxGiven) {
        return fail("--all and --box exclude each other");
    }
    if (command.all && command.edits.boxId) {
        return fail("--id cannot be used with --all: every box keeps its own ID");
    }
    ParseResult result;
    result.command = command;
    return result;
}

}  // namespace quelt::cli

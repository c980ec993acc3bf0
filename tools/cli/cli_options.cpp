#include "tools/cli/cli_options.h"

#include <CLI/CLI.hpp>
#include <array>
#include <initializer_list>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>

#include "base/shown_text.h"
#include "platform/serial/port_map.h"

namespace quelt::cli {
namespace {

constexpr int kMaxBoxIndex = 5;
constexpr int kMaxResolutionIndex = 13;
constexpr int kMaxHBezel = 250;
constexpr int kMaxVBezel = 60;

const char* const kUsageNotes =
    "Every command takes --json and --port COMn=PATH (repeatable: the device for COM n).\n"
    "Box N is the index in the discovered list (0 to 5). FILE - is standard output (save) or\n"
    "standard input (restore). Exit status: 0 done, 1 the boxes reported a failure, 2 bad\n"
    "arguments, values or file (nothing sent).\n";

// Every command's arguments side by side: each binds its options while the line is parsed.
template <class Variant>
struct TupleOf;
template <class... Args>
struct TupleOf<std::variant<Args...>> {
    using type = std::tuple<Args...>;
};
using AllArgs = TupleOf<CommandArgs>::type;

// Plain decimal digits only (no sign, no spaces, no other base), at most four, in [low, high].
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

// Value parsers: text in, value or nothing out.
auto number(int low, int high) {
    return [low, high](std::string_view text) { return parseDecimal(text, low, high); };
}
auto byteIn(int low, int high) {
    return [low, high](std::string_view text) -> std::optional<std::uint8_t> {
        auto value = parseDecimal(text, low, high);
        if (!value) {
            return std::nullopt;
        }
        return static_cast<std::uint8_t>(*value);
    };
}
template <class T>
auto choice(std::initializer_list<std::pair<std::string_view, T>> names) {
    return [table = std::vector<std::pair<std::string_view, T>>(names)](
               std::string_view text) -> std::optional<T> {
        for (const auto& [name, value] : table) {
            if (text == name) {
                return value;
            }
        }
        return std::nullopt;
    };
}

// An option (or positional) whose text `parse` turns into `field`; a text it refuses is a usage
// error "`refusal`: TEXT".
template <class Field, class Parse>
CLI::Option* addValue(CLI::App& app, const std::string& name, Field& field, Parse parse,
                      const std::string& typeName, std::string refusal = {}) {
    if (refusal.empty()) {
        refusal = "bad value for " + name;
    }
    auto store = [&field, parse, refusal](const std::string& text) {
        auto value = parse(text);
        if (!value) {
            throw CLI::ValidationError(refusal + ": " + shownText(text));
        }
        field = *value;
    };
    return app.add_option_function<std::string>(name, store)->type_name(typeName);
}

CLI::Option* addBox(CLI::App& app, int& box) {
    return addValue(app, "--box", box, number(0, kMaxBoxIndex), "N");
}

// A positional the command cannot do without: `missing` when it is not given.
void requirePositional(CLI::App& app, CLI::Option* positional, std::string missing) {
    app.callback([positional, missing] {
        if (positional->count() == 0) {
            throw CLI::ValidationError(missing);
        }
    });
}

CLI::Option* addFile(CLI::App& app, std::string& file) {
    auto nonEmpty = [](std::string_view text) -> std::optional<std::string> {
        if (text.empty()) {
            return std::nullopt;
        }
        return std::string(text);
    };
    return addValue(app, "file", file, nonEmpty, "FILE", "bad file name");
}

void declare(CLI::App&, DiscoverArgs&) {}
void declare(CLI::App&, PortsArgs&) {}

void declare(CLI::App& app, StatusArgs& args) {
    addBox(app, args.box);
}

void declare(CLI::App& app, ApplyArgs& args) {
    CLI::Option* box = addBox(app, args.box);
    app.add_flag("--all", args.all)->excludes(box);
    SettingEdits& e = args.edits;
    addValue(app, "--mode", e.mode,
             choice<ModeChoice>({{"1x2", ModeChoice::Stretch1x2},
                                 {"1x4", ModeChoice::Stretch1x4},
                                 {"2x2", ModeChoice::Stretch2x2},
                                 {"clone", ModeChoice::Clone}}),
             "1x2|1x4|2x2|clone");
    addValue(app, "--rate", e.rate120, choice<bool>({{"60", false}, {"120", true}}), "60|120");
    addValue(app, "--sync", e.sync,
             choice<SyncChoice>(
                 {{"dp1", SyncChoice::Dp1}, {"dp2", SyncChoice::Dp2}, {"off", SyncChoice::Off}}),
             "dp1|dp2|off");
    addValue(app, "--res1", e.resolutionDp1, byteIn(0, kMaxResolutionIndex), "I");
    addValue(app, "--res2", e.resolutionDp2, byteIn(0, kMaxResolutionIndex), "I");
    addValue(app, "--hlimit", e.hLimit,
             choice<std::uint8_t>(
                 {{"0", 0}, {"50", 50}, {"100", 100}, {"150", 150}, {"200", 200}, {"250", 250}}),
             "0|50|100|150|200|250");
    addValue(app, "--vlimit", e.vLimit,
             choice<std::uint8_t>({{"15", 15}, {"30", 30}, {"45", 45}, {"60", 60}}), "15|30|45|60");
    addValue(app, "--hbezel", e.hBezel, byteIn(0, kMaxHBezel), "V");
    addValue(app, "--vbezel", e.vBezel, byteIn(0, kMaxVBezel), "V");
    addValue(app, "--id", e.boxId, byteIn(1, 6), "1..6");
    app.callback([&args] {
        if (args.all && args.edits.boxId) {
            throw CLI::ValidationError(
                "--id cannot be used with --all: every box keeps its own ID");
        }
    });
}

void declare(CLI::App& app, ResetArgs& args) {
    CLI::Option* kind = addValue(
        app, "kind", args.kind,
        choice<ResetChoice>({{"hw", ResetChoice::Hardware}, {"sw", ResetChoice::Software}}),
        "hw|sw", "unknown reset kind");
    requirePositional(app, kind, "reset needs hw or sw");
    addBox(app, args.box);
}

void declare(CLI::App& app, PatternArgs& args) {
    CLI::Option* kind = addValue(app, "kind", args.kind,
                                 choice<PatternChoice>({{"on", PatternChoice::On},
                                                        {"rgbw", PatternChoice::Rgbw},
                                                        {"off", PatternChoice::Off}}),
                                 "on|rgbw|off", "unknown pattern kind");
    requirePositional(app, kind, "pattern needs on, rgbw or off");
    addBox(app, args.box);
}

void declare(CLI::App& app, SaveArgs& args) {
    requirePositional(app, addFile(app, args.file), "save needs a FILE (- for standard output)");
    CLI::Option* box = addValue(app, "--box", args.box, number(0, kMaxBoxIndex), "N");
    app.add_flag("--all")->excludes(box);
}

void declare(CLI::App& app, RestoreArgs& args) {
    requirePositional(app, addFile(app, args.file), "restore needs a FILE (- for standard input)");
    app.add_flag("--dry-run", args.dryRun);
    app.add_flag("--skip-missing", args.skipMissing);
}

bool isCommandName(const std::string& word) {
    return std::apply(
        [&word](const auto&... args) {
            return ((word == std::decay_t<decltype(args)>::kName) || ...);
        },
        AllArgs{});
}

ParseResult fail(ParseResult result, std::string message, bool showUsage = false) {
    result.error = std::move(message);
    result.showUsage = showUsage;
    return result;
}

}  // namespace

const std::string& cliUsage() {
    static const std::string text = [] {
        std::string usage;
        std::apply(
            [&usage](const auto&... args) {
                ((usage += (usage.empty() ? "usage: quelt-cli " : "       quelt-cli ") +
                           std::string(std::decay_t<decltype(args)>::kUsage)),
                 ...);
            },
            AllArgs{});
        return usage + kUsageNotes;
    }();
    return text;
}

ParseResult parseCommandLine(const std::vector<std::string>& args) {
    ParseResult result;
    for (const std::string& arg : args) {
        result.json = result.json || arg == "--json";
    }
    if (args.empty()) {
        return fail(result, "no command given", true);
    }
    if (args[0] == "help") {
        result.help = true;
        return result;
    }
    if (args[0].rfind('-', 0) != 0 && !isCommandName(args[0])) {
        return fail(result, "unknown command: " + shownText(args[0]), true);
    }

    CLI::App app{"quelt-cli"};
    app.set_help_flag("-h,--help");
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.require_subcommand(1, 1);
    app.fallthrough();   // common options may follow the command's name
    app.allow_extras();  // reported below, naming the command
    CliCommand command;
    app.add_flag("--json", command.common.json);
    app.add_option_function<std::vector<std::string>>(
           "--port",
           [&command](const std::vector<std::string>& values) {
               for (const std::string& value : values) {
                   auto assignment = parsePortAssignment(value);
                   if (!assignment) {
                       throw CLI::ValidationError("bad --port value (COMn=PATH, n 1 to 14): " +
                                                  shownText(value));
                   }
                   command.common.ports[assignment->first] = std::move(assignment->second);
               }
           })
        ->type_name("COMn=PATH")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);

    AllArgs all;
    std::array<CLI::App*, std::tuple_size_v<AllArgs>> commands{};
    std::apply(
        [&app, &commands](auto&... each) {
            std::size_t i = 0;
            ((commands[i] = app.add_subcommand(std::decay_t<decltype(each)>::kName),
              declare(*commands[i++], each)),
             ...);
        },
        all);

    // CLI11 wants the arguments last to first.
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        result.help = true;
        return result;
    } catch (const CLI::RequiredError&) {
        return fail(result, "no command given", true);
    } catch (const CLI::ParseError& error) {
        // CLI11's own messages may quote an argument too.
        return fail(result, shownText(error.what(), 2 * kMaxShownCharacters));
    }

    std::size_t chosen = 0;
    while (chosen < commands.size() && !commands[chosen]->parsed()) {
        ++chosen;
    }
    const std::string name = commands[chosen]->get_name();
    const std::vector<std::string> extras = app.remaining();
    if (!extras.empty()) {
        const bool option = extras[0].rfind('-', 0) == 0 && extras[0].size() > 1;
        return fail(result,
                    (option ? "unknown option for " : "unexpected argument for ") + name + ": " +
                        shownText(extras[0]),
                    option);
    }
    std::apply(
        [&command, &commands](auto&... each) {
            std::size_t i = 0;
            ((commands[i++]->parsed() ? void(command.args = std::move(each)) : void()), ...);
        },
        all);
    result.command = std::move(command);
    return result;
}

}  // namespace quelt::cli

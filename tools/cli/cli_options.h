#pragma once
// Command line of quelt-cli: which command to run and with which values. Parsing only checks
// what the arguments alone can rule out; nothing here talks to a box.
//
// Each command has its own arguments struct (with its name and usage lines); `CommandArgs`
// holds the one that was given. A new command is a new struct, an entry in `CommandArgs`, the
// `declare` overload that binds its options (cli_options.cpp) and its handler (cli_app.cpp).
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace quelt::cli {

enum class ResetChoice { Hardware, Software };
enum class PatternChoice { On, Rgbw, Off };
enum class ModeChoice { Stretch1x2, Stretch1x4, Stretch2x2, Clone };
enum class SyncChoice { Dp1, Dp2, Off };

// The settings an Apply changes; an empty field keeps what the box reported.
struct SettingEdits {
    std::optional<ModeChoice> mode;
    std::optional<bool> rate120;
    std::optional<SyncChoice> sync;
    std::optional<std::uint8_t> resolutionDp1;
    std::optional<std::uint8_t> resolutionDp2;
    std::optional<std::uint8_t> hLimit;
    std::optional<std::uint8_t> vLimit;
    std::optional<std::uint8_t> hBezel;
    std::optional<std::uint8_t> vBezel;
    std::optional<std::uint8_t> boxId;
};

// `box` is always the index in the discovered list, 0 to 5.
struct DiscoverArgs {
    static constexpr const char* kName = "discover";
    static constexpr const char* kUsage = "discover [--json]\n";
};
struct StatusArgs {
    static constexpr const char* kName = "status";
    static constexpr const char* kUsage = "status [--box N] [--json]\n";
    int box = 0;
};
struct ApplyArgs {
    static constexpr const char* kName = "apply";
    static constexpr const char* kUsage =
        "apply [--box N | --all] [--mode 1x2|1x4|2x2|clone] [--rate 60|120]\n"
        "                 [--sync dp1|dp2|off] [--res1 I] [--res2 I] [--hlimit "
        "0|50|100|150|200|250]\n"
        "                 [--vlimit 15|30|45|60] [--hbezel V] [--vbezel V] [--id 1..6] [--json]\n";
    int box = 0;
    bool all = false;
    SettingEdits edits;
};
struct ResetArgs {
    static constexpr const char* kName = "reset";
    static constexpr const char* kUsage = "reset hw|sw [--box N] [--json]\n";
    int box = 0;
    ResetChoice kind = ResetChoice::Hardware;
};
struct PatternArgs {
    static constexpr const char* kName = "pattern";
    static constexpr const char* kUsage = "pattern on|rgbw|off [--box N] [--json]\n";
    int box = 0;
    PatternChoice kind = PatternChoice::On;
};
struct SaveArgs {
    static constexpr const char* kName = "save";
    static constexpr const char* kUsage = "save FILE|- [--box N | --all] [--json]\n";
    std::string file;        // "-": standard output
    std::optional<int> box;  // none: every box
};
struct RestoreArgs {
    static constexpr const char* kName = "restore";
    static constexpr const char* kUsage = "restore FILE|- [--dry-run] [--skip-missing] [--json]\n";
    std::string file;  // "-": standard input
    bool dryRun = false;
    bool skipMissing = false;
};

struct PortsArgs {
    static constexpr const char* kName = "ports";
    static constexpr const char* kUsage = "ports [--json]\n";
};

using CommandArgs = std::variant<DiscoverArgs, StatusArgs, ApplyArgs, ResetArgs, PatternArgs,
                                 SaveArgs, RestoreArgs, PortsArgs>;

// Options every command takes, before or after the command's name.
struct CommonOptions {
    bool json = false;
    std::map<int, std::string> ports;  // --port COMn=PATH: COM number → device path
};

struct CliCommand {
    CommonOptions common;
    CommandArgs args;
};

struct ParseResult {
    std::optional<CliCommand> command;
    bool help = false;
    std::string error;       // set when neither a command nor help came out
    bool showUsage = false;  // the error is about the shape of the command line
    bool json = false;       // --json was given, so the error is reported as JSON
};

ParseResult parseCommandLine(const std::vector<std::string>& args);

// The usage text, one block per command.
const std::string& cliUsage();

}  // namespace quelt::cli

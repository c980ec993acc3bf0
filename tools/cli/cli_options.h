#pragma once
// Command line of quelt-cli: what to do and which settings to change. Parsing only checks what
// the arguments alone can rule out; nothing here talks to a box.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quelt::cli {

enum class Verb { Discover, Status, Apply, Reset, Pattern };
enum class ResetChoice { Hardware, Software };
enum class PatternChoice { On, Rgbw, Off };
enum class ModeChoice { Stretch1x2, Stretch1x4, Stretch2x2, Clone };
enum class SyncChoice { Dp1, Dp2, Off };

// The settings an `apply` changes; an empty field keeps what the box reported.
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

struct CliCommand {
    Verb verb = Verb::Discover;
    int box = 0;  // index in the box table, 0 to 5
    bool all = false;
    bool json = false;
    ResetChoice reset = ResetChoice::Hardware;
    PatternChoice pattern = PatternChoice::On;
    SettingEdits edits;
};

struct ParseResult {
    std::optional<CliCommand> command;
    bool help = false;
    std::string error;       // set when neither a command nor help came out
    bool showUsage = false;  // the error is about the shape of the command line
};

ParseResult parseCommandLine(const std::vector<std::string>& args);

extern const char* const kCliUsage;

}  // namespace quelt::cli

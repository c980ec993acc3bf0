#pragma once
// Text a person typed (an argument, a file name), made safe to echo in a message: control
// characters written as escapes, bytes that are not UTF-8 as \xNN, and at most 200 characters
// shown — the rest is replaced by a note of how long the text was.
#include <cstddef>
#include <string>
#include <string_view>

namespace quelt {

inline constexpr std::size_t kMaxShownCharacters = 200;

// "\n", "\r", "\t", "\e" for those; "\xNN" for the other C0 controls, DEL and stray bytes;
// "\u0080".."\u009f" for the C1 controls; everything else as it is.
std::string shownText(std::string_view text, std::size_t maxCharacters = kMaxShownCharacters);

}  // namespace quelt

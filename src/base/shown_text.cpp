#include "base/shown_text.h"

#include <cstdint>
#include <cstdio>

namespace quelt {
namespace {

std::string hexEscape(const char* form, unsigned value) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, form, value);
    return buffer;
}

// Length of the well-formed UTF-8 sequence starting `text`, 0 when there is none.
std::size_t sequenceLength(std::string_view text) {
    const auto byte = [&text](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
    const std::uint8_t lead = byte(0);
    std::size_t length = 0;
    std::uint32_t low = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = 0x10000;
    } else {
        return 0;
    }
    if (text.size() < length) {
        return 0;
    }
    std::uint32_t code = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return 0;
        }
        code = (code << 6) | (byte(i) & 0x3F);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code < low || code > 0x10FFFF || surrogate ? 0 : length;
}

}  // namespace

std::string shownText(std::string_view text, std::size_t maxCharacters) {
    std::string shown;
    std::size_t characters = 0;
    std::size_t i = 0;
    for (; i < text.size() && characters < maxCharacters; ++characters) {
        const auto c = static_cast<std::uint8_t>(text[i]);
        if (c >= 0x20 && c < 0x7F) {
            shown += text[i++];
            continue;
        }
        const std::size_t length = c < 0x80 ? 0 : sequenceLength(text.substr(i));
        if (length == 0) {
            switch (c) {
                case '\n':
                    shown += "\\n";
                    break;
                case '\r':
                    shown += "\\r";
                    break;
                case '\t':
                    shown += "\\t";
                    break;
                case 0x1B:
                    shown += "\\e";
                    break;
                default:
                    shown += hexEscape("\\x%02x", c);
            }
            ++i;
            continue;
        }
        if (length == 2 && c == 0xC2 && static_cast<std::uint8_t>(text[i + 1]) < 0xA0) {
            shown += hexEscape("\\u%04x", static_cast<std::uint8_t>(text[i + 1]));
        } else {
            shown.append(text.substr(i, length));
        }
        i += length;
    }
    if (i < text.size()) {
        shown += "... (" + std::to_string(text.size()) + " bytes in all)";
    }
    return shown;
}

}  // namespace quelt

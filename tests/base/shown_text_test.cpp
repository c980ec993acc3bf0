#include "base/shown_text.h"

#include <gtest/gtest.h>

namespace quelt {
namespace {

TEST(ShownText, EscapesWhatATerminalWouldActOnAndKeepsTheRest) {
    const struct {
        std::string in;
        std::string shown;
    } cases[] = {
        {"COM3=/dev/ttyACM0", "COM3=/dev/ttyACM0"},
        {"C:\\boxes\\wall.json", "C:\\boxes\\wall.json"},
        {"a\nb\r\tc", "a\\nb\\r\\tc"},
        {"\x1b[2J\x07", "\\e[2J\\x07"},
        {std::string("nul\0x", 5), "nul\\x00x"},
        {"del\x7f", "del\\x7f"},
        {"csi\xc2\x9b"
         "31m",
         "csi\\u009b31m"},
        {"caf\xc3\xa9 \xe2\x80\x94 \xf0\x9f\x93\xba", "caf\xc3\xa9 \xe2\x80\x94 \xf0\x9f\x93\xba"},
        {"bad\xff\xc3", "bad\\xff\\xc3"},
        {"\xed\xa0\x80", "\\xed\\xa0\\x80"},  // a surrogate is not UTF-8
    };
    for (const auto& c : cases) {
        EXPECT_EQ(shownText(c.in), c.shown) << c.shown;
    }
}

TEST(ShownText, ShowsAtMost200Characters) {
    EXPECT_EQ(shownText(std::string(200, 'x')), std::string(200, 'x'));
    EXPECT_EQ(shownText(std::string(120000, 'x')),
              std::string(200, 'x') + "... (120000 bytes in all)");
    // Characters, not bytes: 201 two-byte letters show 200 of them.
    std::string letters;
    for (int i = 0; i < 201; ++i) {
        letters += "\xc3\xa9";
    }
    EXPECT_EQ(shownText(letters), letters.substr(0, 400) + "... (402 bytes in all)");
}

}  // namespace
}  // namespace quelt

// The one line a user reads when the panel finds no X display: it must name what is missing (an
// X server, or XWayland in a Wayland session) and treat an empty variable as unset.
#include <gtest/gtest.h>

#include "platform/window/display.h"

namespace quelt {
namespace {

TEST(DisplayText, NamesWhatIsMissing) {
    struct Case {
        const char* display;
        const char* wayland;
        const char* expected;
    };
    const Case cases[] = {
        {nullptr, nullptr,
         "quelt-panel: no X server (DISPLAY is not set); the panel needs an X display"},
        {"", "", "quelt-panel: no X server (DISPLAY is not set); the panel needs an X display"},
        {nullptr, "wayland-0",
         "quelt-panel: no XWayland in this Wayland session (DISPLAY is not set); the panel "
         "needs XWayland"},
        {":3", nullptr, "quelt-panel: cannot reach the X server at DISPLAY=:3"},
        {":3", "wayland-0", "quelt-panel: cannot reach XWayland at DISPLAY=:3"},
    };
    for (const Case& c : cases) {
        const std::string text = missingXDisplayText(c.display, c.wayland);
        EXPECT_EQ(text, c.expected);
        EXPECT_EQ(text.find('\n'), std::string::npos);
    }
}

}  // namespace
}  // namespace quelt

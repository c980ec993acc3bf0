// Where a program finds its skin folder: beside itself first, then ../share/quelt.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "skin/skin_location.h"

namespace quelt {
namespace {

namespace stdfs = std::filesystem;

struct Layout {
    const char* name;
    bool besideExe;     // <root>/bin/GUISkin
    bool inShare;       // <root>/share/quelt/GUISkin
    const char* found;  // relative to <root>
};

TEST(SkinLocation, BesideTheProgramFirstThenShareQuelt) {
    const Layout layouts[] = {
        {"build tree or Windows install", true, false, "bin"},
        {"installed Linux tree", false, true, "share/quelt"},
        {"both: the one beside wins", true, true, "bin"},
        {"none: beside, where the check fails", false, false, "bin"},
    };
    for (const Layout& layout : layouts) {
        const stdfs::path root =
            stdfs::temp_directory_path() /
            ("quelt-location-" +
             std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
        stdfs::create_directories(root / "bin");
        if (layout.besideExe) {
            stdfs::create_directories(root / "bin" / "GUISkin");
        }
        if (layout.inShare) {
            stdfs::create_directories(root / "share" / "quelt" / "GUISkin");
        }
        const stdfs::path found = skinBaseFor((root / "bin").string());
        EXPECT_TRUE(stdfs::equivalent(found, root / layout.found)) << layout.name << ": " << found;
        stdfs::remove_all(root);
    }
}

}  // namespace
}  // namespace quelt

#include "tools/cli/profile_format.h"

#include <gtest/gtest.h>

namespace quelt::cli {
namespace {

// Box 0: Stretch 2 x 2, 120 Hz, sync off, DP1 = DP2 = 3, H 100 / 20, V 15 / 0.
// Box 1: Clone, 60 Hz, sync DP2, DP1 13, DP2 0, H 0 / 0, V 60 / 60.
std::vector<SavedBox> twoBoxes() {
    DeviceFrame first{};
    first.setFlags(0x8082);
    first[frame_offset::resolutionDp1] = 3;
    first[frame_offset::resolutionDp2] = 3;
    first[frame_offset::hLimit] = 100;
    first[frame_offset::vLimit] = 15;
    first[frame_offset::hBezel] = 20;
    DeviceFrame second{};
    second.setFlags(0x21);
    second[frame_offset::resolutionDp1] = 13;
    second[frame_offset::vLimit] = 60;
    second[frame_offset::vBezel] = 60;
    return {{3, 1, 12, first}, {12, 2, 10, second}};
}

Json validProfile() {
    return Json::parse(profileText(twoBoxes(), "2026-12-10T14:00:00Z"));
}

TEST(ProfileFormat, WritesStatusNamesAndReadsThemBack) {
    const Json profile = validProfile();
    EXPECT_EQ(profile["format"], "quelt-wall-profile");
    EXPECT_EQ(profile["version"], 1);
    EXPECT_EQ(profile["boxes"][0]["settings"].dump(),
              "{\"mode\":\"2x2\",\"frameRate\":120,\"clockSync\":\"off\",\"resolutionDp1\":3,"
              "\"resolutionDp2\":3,\"hLimit\":100,\"vLimit\":15,\"hBezel\":20,\"vBezel\":0}");
    EXPECT_EQ(profile["boxes"][1]["frame"], "00000000210000000d0000003c003c00");

    const ProfileRead read = readProfile(profile.dump());
    ASSERT_EQ(read.fault, "");
    ASSERT_EQ(read.boxes.size(), 2u);
    const ProfileBox& clone = read.boxes[1];
    EXPECT_EQ(clone.com, 12);
    EXPECT_EQ(clone.boxId, 2);
    EXPECT_EQ(clone.firmware, 10);
    EXPECT_EQ(clone.settings.mode, ModeChoice::Clone);
    EXPECT_EQ(clone.settings.rate120, false);
    EXPECT_EQ(clone.settings.sync, SyncChoice::Dp2);
    EXPECT_EQ(clone.settings.resolutionDp1, 13);
    EXPECT_EQ(clone.settings.resolutionDp2, 0);
    EXPECT_EQ(clone.settings.hLimit, 0);
    EXPECT_EQ(clone.settings.vLimit, 60);
    EXPECT_EQ(clone.settings.vBezel, 60);
    EXPECT_FALSE(clone.settings.boxId);  // restoring never renumbers a box

    EXPECT_EQ(utcTimestamp(std::chrono::system_clock::time_point(std::chrono::seconds(1796911200))),
              "2026-12-10T14:00:00Z");
}

TEST(ProfileFormat, EveryFaultNamesTheEntryAndTheField) {
    struct Case {
        const char* pointer;  // what to change; empty: replace the whole text
        Json value;           // null: remove the member
        const char* fault;
    };
    const std::string box0 = "boxes[0] (COM3, ID 1): ";
    const std::string box1 = "boxes[1] (COM12, ID 2): ";
    const Case cases[] = {
        {"/format", "other", "format: \"other\" is not quelt-wall-profile"},
        {"/version", 2, "version: 2 is not supported (this quelt-cli reads version 1)"},
        {"/saved", nullptr, "saved: missing"},
        {"/boxes", Json::array(), "boxes: not a list of 1 to 6 box entries"},
        {"/extra", 1, "extra: unknown field"},
        {"/boxes/1/com", 15, "boxes[1] (COM15, ID 2): com: 15 is outside 1 to 14"},
        {"/boxes/1/com", 3, "boxes[1] (COM3, ID 2): com: COM3 is already in boxes[0]"},
        {"/boxes/1/boxId", 0, "boxes[1] (COM12, ID 0): boxId: 0 is outside 1 to 6"},
        {"/boxes/1/boxId", "2", "boxes[1] (COM12): boxId: \"2\" is not a whole number"},
        {"/boxes/0/firmware", nullptr, "firmware: missing"},
        {"/boxes/0/frame", "ff54", "frame: \"ff54\" is not 32 hex digits"},
        {"/boxes/0/settings/mode", "3x3",
         "settings.mode: \"3x3\" is not one of 1x2, 1x4, 2x2, clone"},
        {"/boxes/0/settings/frameRate", 90, "settings.frameRate: 90 is not one of 60, 120"},
        {"/boxes/0/settings/clockSync", "dp3", "settings.clockSync: \"dp3\" is not one of"},
        {"/boxes/0/settings/hLimit", 75, "settings.hLimit: 75 is not one of 0, 50, 100,"},
        {"/boxes/0/settings/vLimit", 0, "settings.vLimit: 0 is not one of 15, 30, 45, 60"},
        {"/boxes/0/settings/vBezel", nullptr, "settings.vBezel: missing"},
        {"/boxes/0/settings/hbezel", 5, "settings.hbezel: unknown field"},
        {"/boxes/0/settings/hBezel", 2.5, "settings.hBezel: 2.5 is not a whole number"},
        {"/boxes/0/settings/hBezel", 101, "settings.hBezel: 101 is above hLimit 100"},
        {"/boxes/1/settings/vLimit", 45, "settings.vBezel: 60 is above vLimit 45"},
        {"/boxes/0/settings/resolutionDp1", 5,
         "settings.resolutionDp1: 5 is beyond the 5 entries of the 2x2 list at 120 Hz"},
        {"/boxes/0/settings/resolutionDp2", 4,
         "settings.resolutionDp2: 4 differs from resolutionDp1 3, which DP2 follows in 2x2"},
        {"/boxes/1/settings/resolutionDp2", 255,
         "settings.resolutionDp2: 255 is beyond the 14 entries of the clone list at 60 Hz"},
        {"/boxes/1/settings/resolutionDp2", -1, "settings.resolutionDp2: -1 is outside 0 to 255"},
        {"/boxes/1/settings", 5, "settings: not an object"},
    };
    for (const Case& c : cases) {
        Json profile = validProfile();
        const Json::json_pointer pointer(c.pointer);
        if (c.value.is_null()) {
            profile[pointer.parent_pointer()].erase(pointer.back());
        } else {
            profile[pointer] = c.value;
        }
        const std::string fault = readProfile(profile.dump()).fault;
        EXPECT_NE(fault.find(c.fault), std::string::npos) << c.pointer << ": " << fault;
        if (std::string(c.pointer).rfind("/boxes/0/", 0) == 0) {
            EXPECT_EQ(fault.rfind(box0, 0), 0u) << fault;
        }
        if (std::string(c.pointer).rfind("/boxes/1/s", 0) == 0) {
            EXPECT_EQ(fault.rfind(box1, 0), 0u) << fault;
        }
        EXPECT_TRUE(readProfile(profile.dump()).boxes.empty());
    }
    EXPECT_EQ(readProfile("{\"format\": ").fault.rfind("not valid JSON: ", 0), 0u);
    EXPECT_EQ(readProfile("[1]").fault, "not a JSON object");
}

TEST(ProfileMatch, ByIdThenByComWhereIdsRepeat) {
    auto saved = [](std::vector<std::pair<int, int>> comAndId) {
        std::vector<ProfileBox> boxes;
        for (auto [com, id] : comAndId) {
            ProfileBox box;
            box.com = com;
            box.boxId = id;
            boxes.push_back(box);
        }
        return boxes;
    };
    struct Case {
        const char* what;
        std::vector<ProfileBox> saved;
        std::vector<FoundBox> found;
        std::vector<int> matches;
    };
    const Case cases[] = {
        {"unique IDs follow their box to another port",
         saved({{3, 1}, {4, 2}}),
         {{7, 2}, {8, 1}},
         {1, 0}},
        {"an ID no found box has is missing, never renumbered",
         saved({{3, 1}, {4, 5}}),
         {{3, 1}, {4, 2}},
         {0, -1}},
        {"a repeated found ID matches by COM", saved({{4, 1}}), {{3, 1}, {4, 1}}, {1}},
        {"a repeated found ID on another COM is missing", saved({{5, 1}}), {{3, 1}, {4, 1}}, {-1}},
        {"a repeated saved ID matches by COM, one entry per box",
         saved({{3, 1}, {4, 1}}),
         {{4, 1}},
         {-1, 0}},
        {"nothing found", saved({{3, 1}}), {}, {-1}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(matchBoxes(c.saved, c.found), c.matches) << c.what;
    }
}

}  // namespace
}  // namespace quelt::cli

// Skin completeness check and the file utilities under it, on scratch folders.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/fs/fs.h"
#include "skin/skin_check.h"

namespace quelt {
namespace {

namespace stdfs = std::filesystem;

// 29 files of 23388 bytes make exactly 678252 bytes.
constexpr std::size_t kFileSize = 23388;

class SkinCheckTest : public ::testing::Test {
  protected:
    void SetUp() override {
        static std::atomic<int> serial{0};
        base_ = stdfs::temp_directory_path() /
                ("quelt-check-" +
                 std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + "-" +
                 std::to_string(serial++));
        stdfs::create_directories(Splash());
        stdfs::create_directories(Main());
        Write(Splash() / "GUIFrameSplashBK.kesp", kFileSize);
        for (int i = 0; i < 28; ++i) {
            Write(Main() / ("GUIFrameMainPart" + std::to_string(i) + ".kesp"), kFileSize);
        }
    }
    void TearDown() override {
        std::error_code ignored;
        stdfs::permissions(Main() / "GUIFrameMainPart0.kesp", stdfs::perms::owner_all,
                           stdfs::perm_options::add, ignored);
        stdfs::remove_all(base_, ignored);
    }
    static void Write(const stdfs::path& path, std::size_t size) {
        std::ofstream(path, std::ios::binary) << std::string(size, 'k');
    }
    stdfs::path Splash() const { return base_ / "GUISkin" / "GUIFrameSplash"; }
    stdfs::path Main() const { return base_ / "GUISkin" / "GUIFrameMain"; }
    std::string Base() const { return base_.string(); }
    bool Count() const { return checkSkinFileCount(Base()); }
    bool Total() const { return checkSkinTotalSize(Base()); }

    stdfs::path base_;
};

TEST_F(SkinCheckTest, CompleteSkinPasses) {
    EXPECT_TRUE(Count());
    EXPECT_TRUE(Total());
    EXPECT_EQ(SkinRootOf("C:\\app"), "C:\\app\\GUISkin\\");
}

TEST_F(SkinCheckTest, AnExtraFileFailsTheCountEvenWhenEmpty) {
    Write(Splash() / "extra.txt", 0);
    EXPECT_FALSE(Count());
    EXPECT_TRUE(Total());
    stdfs::remove(Splash() / "extra.txt");
    Write(Main() / "extra.txt", 0);
    EXPECT_FALSE(Count());
    stdfs::remove(Main() / "GUIFrameMainPart3.kesp");
    EXPECT_TRUE(Count());  // 29 again, but a byte count short
    EXPECT_FALSE(Total());
}

TEST_F(SkinCheckTest, SizesMustAddUpExactly) {
    Write(Main() / "GUIFrameMainPart7.kesp", kFileSize + 1);
    EXPECT_TRUE(Count());
    EXPECT_FALSE(Total());
    Write(Main() / "GUIFrameMainPart7.kesp", kFileSize);  // a different file of the same size
    EXPECT_TRUE(Total());
}

TEST_F(SkinCheckTest, SubFoldersAreNeitherCountedNorVisited) {
    stdfs::create_directories(Main() / "old" / "deeper");
    Write(Main() / "old" / "stale.kesp", 999);
    Write(Main() / "old" / "deeper" / "stale.kesp", 999);
    EXPECT_TRUE(Count());
    EXPECT_TRUE(Total());
}

TEST_F(SkinCheckTest, MissingSkinFolderFails) {
    stdfs::remove_all(base_ / "GUISkin");
    EXPECT_FALSE(Count());
    EXPECT_FALSE(Total());
    stdfs::create_directories(Main());  // one sub-folder alone holds nothing
    EXPECT_FALSE(Count());
}

TEST_F(SkinCheckTest, UnreadableFileCountsButAddsNothing) {
    const stdfs::path locked = Main() / "GUIFrameMainPart0.kesp";
    stdfs::permissions(locked, stdfs::perms::none);
    if (std::FILE* probe = std::fopen(locked.string().c_str(), "rb")) {
        std::fclose(probe);
        GTEST_SKIP() << "permissions do not stop this user from reading";
    }
    EXPECT_TRUE(Count());
    EXPECT_FALSE(Total());
    EXPECT_EQ(fs::fileSize(locked.string()), -1);
}

TEST_F(SkinCheckTest, FileUtilities) {
    std::vector<std::string> folders{"kept"};
    std::vector<std::string> files{"kept"};
    stdfs::create_directories(Main() / "sub");
    // Either separator works in a path.
    fs::listFolder(base_.string() + "\\GUISkin/GUIFrameMain", "*.*", folders, files);
    EXPECT_EQ(folders, (std::vector<std::string>{"kept", "sub"}));
    EXPECT_EQ(files.size(), 29u);
    EXPECT_EQ(files.front(), "kept");
    fs::listFolder(Base() + "\\nothing-here", "*.*", folders, files);
    EXPECT_EQ(files.size(), 29u);

    EXPECT_TRUE(fs::fileExists((Splash() / "GUIFrameSplashBK.kesp").string()));
    EXPECT_TRUE(fs::fileExists(Splash().string()));
    EXPECT_FALSE(fs::fileExists((Splash() / "nope.kesp").string()));
    EXPECT_EQ(fs::fileSize((Splash() / "GUIFrameSplashBK.kesp").string()),
              static_cast<long long>(kFileSize));

    const std::string exe = fs::exeFolder();
    ASSERT_FALSE(exe.empty());
    EXPECT_TRUE(stdfs::is_directory(exe));
    EXPECT_NE(exe.back(), fs::separator());
}

}  // namespace
}  // namespace quelt

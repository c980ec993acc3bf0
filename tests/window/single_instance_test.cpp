#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/instance/single_instance.h"

namespace quelt {
namespace {

std::string scratchFolder() {
    auto folder = std::filesystem::temp_directory_path() /
                  ("quelt-guard-test-" + std::to_string(std::rand()));
    std::filesystem::create_directories(folder);
    return folder.string();
}

TEST(SingleInstance, SecondGuardOfTheSameNameSeesTheFirstUntilItEnds) {
    const std::string folder = scratchFolder();
    const std::string name = "QueltGuardTest" + std::to_string(std::rand());
    {
        SingleInstance first(name, folder);
        EXPECT_FALSE(first.anotherCopyRunning());
        SingleInstance second(name, folder);
        EXPECT_TRUE(second.anotherCopyRunning());
        SingleInstance other(name + "Other", folder);
        EXPECT_FALSE(other.anotherCopyRunning());
    }
    SingleInstance afterwards(name, folder);
    EXPECT_FALSE(afterwards.anotherCopyRunning());
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

TEST(SingleInstance, AnUnusableLockFolderLetsTheProgramRun) {
    SingleInstance guard("QueltGuardTest", "/nonexistent/quelt/folder");
    EXPECT_FALSE(guard.anotherCopyRunning());
}

}  // namespace
}  // namespace quelt

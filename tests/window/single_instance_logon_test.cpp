// The lock file guard is per logon: the login session, else the X display, tells logons apart.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "platform/instance/single_instance.h"

namespace quelt {
namespace {

// Sets (or, for nothing, unsets) an environment variable until the end of the scope.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = ::getenv(name)) {
            old_ = old;
        }
        set(value);
    }
    ~ScopedEnv() { set(old_); }
    void set(const std::optional<std::string>& value) {
        value ? ::setenv(name_, value->c_str(), 1) : ::unsetenv(name_);
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

struct Logon {
    std::optional<std::string> session;
    std::optional<std::string> display;
};

TEST(SingleInstanceLogon, AnotherLogonOfTheSameUserRunsItsOwnCopy) {
    const auto folder =
        std::filesystem::temp_directory_path() / ("quelt-logon-test-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    ScopedEnv session("XDG_SESSION_ID", std::nullopt);
    ScopedEnv display("DISPLAY", std::nullopt);
    const auto guardIn = [&](const Logon& logon) {
        session.set(logon.session);
        display.set(logon.display);
        return std::make_unique<SingleInstance>("QueltLogonTest", folder.string());
    };
    const struct {
        Logon first;
        Logon second;
        bool refused;
    } cases[] = {
        {{"3", ":0"}, {"3", ":1"}, true},  // the session decides, not the display
        {{"3", ":0"}, {"4", ":0"}, false},
        {{std::nullopt, ":0"}, {std::nullopt, ":0.0"}, true},
        {{std::nullopt, ":0"}, {std::nullopt, ":1"}, false},
        {{std::nullopt, std::nullopt}, {std::nullopt, std::nullopt}, true},
        {{"a/b", ":0"}, {"a_b", ":0"}, true},  // names are made safe for a file name
    };
    for (const auto& c : cases) {
        const auto first = guardIn(c.first);
        ASSERT_FALSE(first->anotherCopyRunning());
        EXPECT_EQ(guardIn(c.second)->anotherCopyRunning(), c.refused)
            << c.first.session.value_or("-") << c.first.display.value_or("-") << " then "
            << c.second.session.value_or("-") << c.second.display.value_or("-");
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

}  // namespace
}  // namespace quelt

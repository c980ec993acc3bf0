#pragma once
// Guard that lets one copy of the program run per user logon (on Windows a mutex in the session's
// namespace; elsewhere a lock file named after the login session or the display). The first
// copy holds the guard for its whole life; the operating system drops it when the process ends,
// however it ends.
#include <memory>
#include <string>

namespace quelt {

inline constexpr const char* kSingleInstanceName = "CPanorilApp";

class SingleInstance {
  public:
    // Takes the guard called `name`. `lockFolder` is only used where the guard is a lock file
    // (empty: the per-user runtime folder); tests pass a folder of their own.
    explicit SingleInstance(const std::string& name = kSingleInstanceName,
                            const std::string& lockFolder = {});
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when another copy holds the guard. When the guard cannot be made for any other
    // reason this copy carries on as the only one (false).
    bool anotherCopyRunning() const { return anotherCopy_; }

  private:
    struct Handle;
    std::unique_ptr<Handle> handle_;
    bool anotherCopy_ = false;
};

}  // namespace quelt

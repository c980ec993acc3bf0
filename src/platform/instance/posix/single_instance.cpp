// The guard is an exclusive flock on a lock file in the user's runtime folder, one file per logon:
// its name carries the login session (XDG_SESSION_ID), else the X display, so a second logon of
// the same user runs its own copy. The lock goes with the open file, so it is dropped when the
// process ends in any way; the file stays.
#include "platform/instance/single_instance.h"

#include <cerrno>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quelt {

struct SingleInstance::Handle {
    int fd = -1;
    ~Handle() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
};

namespace {

bool isOwnFolder(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid();
}

// $XDG_RUNTIME_DIR when it is set and ours; otherwise /tmp/quelt-<uid>, made private. A folder
// of that name that belongs to someone else (or is a link) is not used.
std::string runtimeFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/' && isOwnFolder(runtime)) {
        return runtime;
    }
    std::string fallback = "/tmp/quelt-" + std::to_string(::getuid());
    if (::mkdir(fallback.c_str(), 0700) != 0 && errno != EEXIST) {
        return {};
    }
    return isOwnFolder(fallback) ? fallback : std::string{};
}

// Only letters, digits, '-' and '_' reach the file name.
std::string fileNamePart(const std::string& text) {
    std::string part;
    for (char c : text) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '_';
        part += plain ? c : '_';
    }
    return part;
}

// ".session-<id>", else ".display-<display>" (":0.0" and ":0" are one display), else nothing.
std::string logonSuffix() {
    const char* session = std::getenv("XDG_SESSION_ID");
    if (session != nullptr && session[0] != '\0') {
        return ".session-" + fileNamePart(session);
    }
    const char* display = std::getenv("DISPLAY");
    if (display != nullptr && display[0] != '\0') {
        std::string name = display;
        const std::size_t colon = name.rfind(':');
        if (colon != std::string::npos) {
            if (const std::size_t dot = name.find('.', colon); dot != std::string::npos) {
                name.erase(dot);
            }
        }
        return ".display-" + fileNamePart(name);
    }
    return {};
}

}  // namespace

SingleInstance::SingleInstance(const std::string& name, const std::string& lockFolder)
    : handle_(std::make_unique<Handle>()) {
    const std::string folder = lockFolder.empty() ? runtimeFolder() : lockFolder;
    if (folder.empty()) {
        return;
    }
    const std::string path = folder + "/" + name + logonSuffix() + ".lock";
    handle_->fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (handle_->fd < 0) {
        return;
    }
    int result = 0;
    do {
        result = ::flock(handle_->fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0 && errno == EWOULDBLOCK) {
        anotherCopy_ = true;
    }
}

SingleInstance::~SingleInstance() = default;

}  // namespace quelt

#include "tools/boxsim/pty/pty_endpoint.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace quelt::sim {
namespace {

bool makeRaw(int fd) {
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) {
        return false;
    }
    ::cfmakeraw(&tio);
    ::cfsetspeed(&tio, B460800);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    return ::tcsetattr(fd, TCSANOW, &tio) == 0;
}

std::string systemError(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

}  // namespace

std::unique_ptr<PtyEndpoint> PtyEndpoint::create(const std::string& portDir, int com,
                                                 std::string& error) {
    std::unique_ptr<PtyEndpoint> end(new PtyEndpoint());
    end->master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (end->master_ < 0 || ::grantpt(end->master_) != 0 || ::unlockpt(end->master_) != 0) {
        error = systemError("pseudo-terminal");
        return nullptr;
    }
    const char* name = ::ptsname(end->master_);
    if (name == nullptr) {
        error = systemError("ptsname");
        return nullptr;
    }
    end->slavePath_ = name;
    end->slave_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (end->slave_ < 0 || !makeRaw(end->slave_) || !makeRaw(end->master_)) {
        error = systemError("configure " + end->slavePath_);
        return nullptr;
    }

    end->linkPath_ = portDir + "/COM" + std::to_string(com);
    struct stat st {};
    if (::lstat(end->linkPath_.c_str(), &st) == 0) {
        // A link left by an earlier run may go; anything else is not ours to replace.
        if (!S_ISLNK(st.st_mode) || ::unlink(end->linkPath_.c_str()) != 0) {
            error = end->linkPath_ + " exists and is not a stale link";
            return nullptr;
        }
    }
    if (::symlink(end->slavePath_.c_str(), end->linkPath_.c_str()) != 0) {
        error = systemError("link " + end->linkPath_);
        return nullptr;
    }
    end->linked_ = true;
    return end;
}

PtyEndpoint::~PtyEndpoint() {
    if (linked_) {
        char target[512];
        ssize_t n = ::readlink(linkPath_.c_str(), target, sizeof target - 1);
        if (n >= 0 && slavePath_ == std::string(target, static_cast<std::size_t>(n))) {
            ::unlink(linkPath_.c_str());
        }
    }
    if (slave_ >= 0) {
        ::close(slave_);
    }
    if (master_ >= 0) {
        ::close(master_);
    }
}

}  // namespace quelt::sim

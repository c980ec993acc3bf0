// Serial channel on a POSIX tty (USB serial adapters, or the simulator's pseudo-terminals).
#include "platform/serial/posix/serial_channel.h"

#include "platform/serial/port_map.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>
#include <string>
#include <vector>

namespace quelt::posix {

namespace {

constexpr int kWriteLimitMs = 1000;

class FileDescriptor {
  public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() { reset(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    int release() {
        int fd = fd_;
        fd_ = -1;
        return fd;
    }
    void reset(int fd = -1) {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = fd;
    }

  private:
    int fd_ = -1;
};

// Raw 8N1 at 460800 baud, no flow control, reads never block.
bool configureRaw(int fd) {
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) {
        return false;
    }
    ::cfmakeraw(&tio);
    if (::cfsetspeed(&tio, B460800) != 0) {
        return false;
    }
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    return ::tcsetattr(fd, TCSANOW, &tio) == 0;
}

int remainingMs(std::chrono::steady_clock::time_point deadline) {
    using namespace std::chrono;
    auto left = duration_cast<milliseconds>(deadline - steady_clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// The time left as a ppoll timeout, to the nanosecond: a poll given 0.4 ms rounded down to 0 ms
// would return at once, and a reply wait built on it would spin.
timespec timeLeft(std::chrono::steady_clock::time_point deadline) {
    using namespace std::chrono;
    const auto left = std::max(deadline - steady_clock::now(), steady_clock::duration::zero());
    const auto seconds = duration_cast<std::chrono::seconds>(left);
    return timespec{static_cast<time_t>(seconds.count()),
                    static_cast<long>(duration_cast<nanoseconds>(left - seconds).count())};
}

// Blocks until one of `fds` reports an event or `timeout` passes. The number of descriptors with
// events, 0 on time-out, -1 when the poll itself failed.
int pollUntil(pollfd* fds, nfds_t count, std::chrono::microseconds timeout) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::max(timeout, std::chrono::microseconds::zero());
    for (;;) {
        const timespec left = timeLeft(deadline);
        const int r = ::ppoll(fds, count, &left, nullptr);
        if (r >= 0 || errno != EINTR) {
            return r;
        }
    }
}

// What poll's events on a tty mean for a reply wait. Queued bytes come first: a box that
// answered and then went away still delivers its answer. A hung-up line reports itself readable
// too (a pty whose other side went away gives POLLIN with POLLHUP) with nothing to read.
PortWait classify(int fd, short revents) {
    int queued = 0;
    if (::ioctl(fd, FIONREAD, &queued) != 0) {
        return PortWait::LineLost;
    }
    if (queued > 0) {
        return PortWait::Readable;
    }
    if ((revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
        return PortWait::LineLost;
    }
    return (revents & POLLIN) != 0 ? PortWait::Readable : PortWait::TimedOut;
}

// Descriptors of the open channels, for a signal handler to give back (-1: free slot).
constexpr int kOpenSlots = 32;
std::atomic<int> openDescriptors[kOpenSlots];
std::once_flag slotsInitialised;

void initSlots() {
    std::call_once(slotsInitialised, [] {
        for (auto& slot : openDescriptors) {
            slot.store(-1);
        }
    });
}

void remember(int fd) {
    initSlots();
    for (auto& slot : openDescriptors) {
        int expected = -1;
        if (slot.compare_exchange_strong(expected, fd)) {
            return;
        }
    }
}

void forget(int fd) {
    initSlots();
    for (auto& slot : openDescriptors) {
        int expected = fd;
        if (slot.compare_exchange_strong(expected, -1)) {
            return;
        }
    }
}

// Only async-signal-safe calls: clear exclusive mode, close (which drops the lock), leave.
void closePortsAndExit(int signalNumber) {
    for (auto& slot : openDescriptors) {
        const int fd = slot.exchange(-1);
        if (fd >= 0) {
            ::ioctl(fd, TIOCNXCL);
            ::close(fd);
        }
    }
    ::_exit(128 + signalNumber);
}

// "COM3 (/dev/ttyUSB2): Permission denied: ..." with a hint for the failures a user can fix.
std::string openFailureText(int com, const std::string& path, int code, const char* what) {
    std::string text = "COM" + std::to_string(com) + " (" + path + "): ";
    text += what != nullptr ? std::string(what) : std::string(std::strerror(code));
    if (code == EACCES || code == EPERM) {
        text +=
            " (add your user to the dialout group: sudo usermod -aG dialout $USER, then log "
            "in again)";
    } else if (code == EBUSY) {
        text += " (another program holds the port)";
    }
    return text;
}

class PosixSerialChannel : public SerialPort {
  public:
    ~PosixSerialChannel() override { close(); }

    int open(int portNumber) override {
        if (fd_.valid()) {
            return 1;
        }
        error_.clear();
        failure_ = OpenFailure::None;
        path_ = serialPortMapping(portNumber).path;
        const std::string& path = path_;
        if (path.empty()) {
            error_ = "COM" + std::to_string(portNumber) + ": no such port (COM1 to COM14)";
            failure_ = OpenFailure::NoSuchPort;
            return 0;
        }
        const auto fail = [&](int code, const char* what) {
            error_ = openFailureText(portNumber, path, code, what);
            failure_ = code == ENOENT || code == ENXIO || code == ENODEV ? OpenFailure::NoSuchPort
                       : code == EBUSY                                   ? OpenFailure::Busy
                       : code == EACCES || code == EPERM ? OpenFailure::PermissionDenied
                                                         : OpenFailure::Other;
            return 0;
        };
        FileDescriptor fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
        if (!fd.valid()) {
            return fail(errno, nullptr);
        }
        // The lock keeps out everyone who opens ports the way we do, root included; TIOCEXCL
        // keeps out other programs (root ignores it). The lock comes first so that a port held
        // by someone else is left exactly as its holder set it.
        if (!::isatty(fd.get())) {
            return fail(0, "not a serial port");
        }
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
            return fail(errno == EWOULDBLOCK ? EBUSY : errno, nullptr);
        }
        if (::ioctl(fd.get(), TIOCEXCL) != 0) {
            return fail(errno, nullptr);
        }
        if (!configureRaw(fd.get())) {
            const int code = errno;
            ::ioctl(fd.get(), TIOCNXCL);
            return fail(code, "the line settings were refused");
        }
        fd_ = std::move(fd);
        remember(fd_.get());
        return 1;
    }

    std::string openError() const override { return error_; }
    OpenFailure openFailure() const override { return failure_; }
    std::string devicePath() const override { return path_; }

    int isOpen() const override { return fd_.valid() ? 1 : 0; }

    int write(const std::uint8_t* data, std::size_t length) override {
        if (!fd_.valid() || (data == nullptr && length > 0)) {
            return 0;
        }
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWriteLimitMs);
        std::size_t sent = 0;
        while (sent < length) {
            ssize_t n = ::write(fd_.get(), data + sent, length - sent);
            if (n > 0) {
                sent += static_cast<std::size_t>(n);
                continue;
            }
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
                return 0;
            }
            int left = remainingMs(deadline);
            if (left == 0) {
                return 0;
            }
            pollfd p{fd_.get(), POLLOUT, 0};
            int r = ::poll(&p, 1, left);
            if (r < 0 && errno != EINTR) {
                return 0;
            }
            if (r > 0 && (p.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0 &&
                (p.revents & POLLOUT) == 0) {
                return 0;
            }
        }
        return 1;
    }

    std::size_t readAvailable(std::uint8_t* buffer, std::size_t maximum) override {
        if (!fd_.valid() || buffer == nullptr || maximum == 0) {
            return 0;
        }
        int queued = 0;
        if (::ioctl(fd_.get(), FIONREAD, &queued) != 0 || queued <= 0) {
            return 0;
        }
        std::size_t want = std::min(maximum, static_cast<std::size_t>(queued));
        ssize_t n;
        do {
            n = ::read(fd_.get(), buffer, want);
        } while (n < 0 && errno == EINTR);
        return n > 0 ? static_cast<std::size_t>(n) : 0;
    }

    void close() override {
        if (fd_.valid()) {
            // The exclusive flag belongs to the tty, not to our descriptor: give it back so the
            // port can be opened again after we let go of it.
            forget(fd_.get());
            ::ioctl(fd_.get(), TIOCNXCL);
            fd_.reset();  // also releases the lock
        }
    }

    PortWait waitReadable(std::chrono::microseconds timeout) override {
        if (!fd_.valid()) {
            return PortWait::CannotWait;
        }
        pollfd p{fd_.get(), POLLIN, 0};
        const int r = pollUntil(&p, 1, timeout);
        if (r < 0) {
            return PortWait::CannotWait;
        }
        return r == 0 ? PortWait::TimedOut : classify(fd_.get(), p.revents);
    }

    int descriptor() const { return fd_.get(); }

  private:
    FileDescriptor fd_;
    std::string path_;
    std::string error_;
    OpenFailure failure_ = OpenFailure::None;
};

}  // namespace

std::string serialDevicePath(int portNumber, const char* portDir) {
    PortMapSources sources;
    sources.portDir = portDir != nullptr ? portDir : "";
    return resolvePort(portNumber, sources).path;
}

std::string serialDevicePath(int portNumber) {
    return serialPortMapping(portNumber).path;
}

}  // namespace quelt::posix

namespace quelt {

void closePortsOnSignals() {
    posix::initSlots();
    struct sigaction action {};
    action.sa_handler = posix::closePortsAndExit;
    sigemptyset(&action.sa_mask);
    for (int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
        ::sigaction(signalNumber, &action, nullptr);
    }
}

std::unique_ptr<SerialPort> makeSerialChannel() {
    return std::make_unique<posix::PosixSerialChannel>();
}

PortWait waitAnyReadable(std::span<SerialPort* const> ports, std::chrono::microseconds timeout) {
    std::vector<pollfd> fds;
    fds.reserve(ports.size());
    for (SerialPort* port : ports) {
        const auto* channel = dynamic_cast<const posix::PosixSerialChannel*>(port);
        if (channel == nullptr || channel->descriptor() < 0) {
            return PortWait::CannotWait;
        }
        fds.push_back(pollfd{channel->descriptor(), POLLIN, 0});
    }
    const int r = posix::pollUntil(fds.data(), fds.size(), timeout);
    if (r < 0) {
        return PortWait::CannotWait;
    }
    return r == 0 ? PortWait::TimedOut : PortWait::Readable;
}

}  // namespace quelt

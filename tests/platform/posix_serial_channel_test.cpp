#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/serial/posix/serial_channel.h"

namespace quelt {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// One pseudo-terminal pair. The test keeps the master and its own descriptor of the slave (so
// it can see how many bytes are queued there and the pair outlives every channel close).
class PtyPair {
  public:
    PtyPair() {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
            return;
        }
        slavePath_ = ::ptsname(master_);
        slave_ = ::open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        termios tio{};
        ::tcgetattr(slave_, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(slave_, TCSANOW, &tio);
    }
    ~PtyPair() {
        if (slave_ >= 0)
            ::close(slave_);
        if (master_ >= 0)
            ::close(master_);
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool ok() const { return master_ >= 0 && slave_ >= 0; }
    termios slaveSettings() const {
        termios tio{};
        ::tcgetattr(slave_, &tio);
        return tio;
    }
    const std::string& slavePath() const { return slavePath_; }
    // The far end goes away (a simulator that died, an adapter pulled out).
    void hangUp() {
        ::close(master_);
        master_ = -1;
    }

    void sendToSlave(const std::vector<std::uint8_t>& bytes) {
        ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    // Waits (bounded) until `count` bytes are queued on the slave side.
    bool waitQueuedOnSlave(int count) {
        auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < until) {
            int queued = 0;
            if (::ioctl(slave_, FIONREAD, &queued) == 0 && queued >= count) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return false;
    }
    std::vector<std::uint8_t> readFromMaster(std::size_t count) {
        std::vector<std::uint8_t> got;
        auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (got.size() < count && std::chrono::steady_clock::now() < until) {
            std::uint8_t buf[64];
            ssize_t n = ::read(master_, buf, sizeof buf);
            if (n > 0) {
                got.insert(got.end(), buf, buf + n);
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        }
        return got;
    }

  private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
};

int openDescriptorCount() {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator("/proc/self/fd")) {
        ++count;
    }
    return count;
}

class PosixSerialChannelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(pty_.ok());
        char tmpl[] = "/tmp/quelt-ports-XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
        fs::create_symlink(pty_.slavePath(), dir_ / "COM3");
        ::setenv("QUELT_PORT_DIR", dir_.c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("QUELT_PORT_DIR");
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    PtyPair pty_;
    fs::path dir_;
};

TEST(SerialDevicePath, MapsComNumbersToPortFolderOrUsbAdapters) {
    EXPECT_EQ(posix::serialDevicePath(3, "/tmp/ports"), "/tmp/ports/COM3");
    EXPECT_EQ(posix::serialDevicePath(14, "/tmp/ports/"), "/tmp/ports/COM14");
    EXPECT_EQ(posix::serialDevicePath(1, nullptr), "/dev/ttyUSB0");
    EXPECT_EQ(posix::serialDevicePath(12, ""), "/dev/ttyUSB11");
    EXPECT_EQ(posix::serialDevicePath(0, "/tmp/ports"), "");
    EXPECT_EQ(posix::serialDevicePath(15, nullptr), "");
    EXPECT_EQ(posix::serialDevicePath(-1, nullptr), "");
}

TEST_F(PosixSerialChannelTest, OpensThroughPortFolderAndReadsOnlyWhatIsQueued) {
    auto channel = makeSerialChannel();
    ASSERT_EQ(channel->open(3), 1);
    EXPECT_EQ(channel->isOpen(), 1);
    termios tio = pty_.slaveSettings();
    EXPECT_EQ(::cfgetospeed(&tio), static_cast<speed_t>(B460800));
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | ICRNL), 0u);

    std::uint8_t buf[64];
    EXPECT_EQ(channel->readAvailable(buf, 32), 0u);  // empty: 0 at once, not an error
    EXPECT_EQ(channel->waitReadable(0ms), PortWait::TimedOut);

    std::vector<std::uint8_t> forty(40);
    for (std::size_t i = 0; i < forty.size(); ++i)
        forty[i] = static_cast<std::uint8_t>(i);
    pty_.sendToSlave(forty);
    ASSERT_TRUE(pty_.waitQueuedOnSlave(40));
    EXPECT_EQ(channel->waitReadable(1000ms), PortWait::Readable);
    ASSERT_EQ(channel->readAvailable(buf, 32), 32u);
    EXPECT_EQ(buf[0], 0);
    EXPECT_EQ(buf[31], 31);
    ASSERT_EQ(channel->readAvailable(buf, 32), 8u);
    EXPECT_EQ(buf[0], 32);
    EXPECT_EQ(buf[7], 39);
    EXPECT_EQ(channel->readAvailable(buf, 32), 0u);
}

TEST_F(PosixSerialChannelTest, WritesWholeFramesAndRefusesWhenClosed) {
    auto channel = makeSerialChannel();
    const std::uint8_t frame[16] = {0x64, 0x54, 0x44, 2, 0, 0, 0, 0, 1, 2, 0, 50, 15, 0, 0, 0xAA};
    EXPECT_EQ(channel->write(frame, sizeof frame), 0);  // never opened
    ASSERT_EQ(channel->open(3), 1);
    ASSERT_EQ(channel->write(frame, sizeof frame), 1);
    EXPECT_EQ(pty_.readFromMaster(16), std::vector<std::uint8_t>(frame, frame + 16));
    channel->close();
    EXPECT_EQ(channel->isOpen(), 0);
    EXPECT_EQ(channel->write(frame, sizeof frame), 0);
    EXPECT_EQ(channel->readAvailable(nullptr, 0), 0u);
}

TEST_F(PosixSerialChannelTest, WriteGivesUpWhenTheLineStaysBlocked) {
    auto channel = makeSerialChannel();
    ASSERT_EQ(channel->open(3), 1);
    // Nobody reads the master: the pty's buffers fill and the write must fail after its bound
    // instead of hanging or reporting a partial write as success.
    std::vector<std::uint8_t> big(1 << 20, 0x55);
    EXPECT_EQ(channel->write(big.data(), big.size()), 0);
}

double waitedMs(SerialPort& port, std::chrono::microseconds timeout, PortWait expected) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(port.waitReadable(timeout), expected);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

TEST_F(PosixSerialChannelTest, WaitBlocksForTheWholeTimeLeftEvenBelowOneMillisecond) {
    auto channel = makeSerialChannel();
    ASSERT_EQ(channel->open(3), 1);
    // Rounded down to whole milliseconds these would be polls that return at once.
    EXPECT_GE(waitedMs(*channel, 1ms, PortWait::TimedOut), 0.9);
    EXPECT_GE(waitedMs(*channel, 900us, PortWait::TimedOut), 0.8);
    EXPECT_GE(waitedMs(*channel, 30ms, PortWait::TimedOut), 29.0);
}

TEST_F(PosixSerialChannelTest, HungUpLineEndsTheWaitAtOnce) {
    auto channel = makeSerialChannel();
    ASSERT_EQ(channel->open(3), 1);
    pty_.hangUp();
    // Said at once, instead of waiting out the time (or spinning on a line that polls readable
    // with nothing to read).
    EXPECT_LT(waitedMs(*channel, 5s, PortWait::LineLost), 1000.0);
    std::uint8_t buf[16];
    EXPECT_EQ(channel->readAvailable(buf, sizeof buf), 0u);
    const std::uint8_t request = 0xFF;
    EXPECT_EQ(channel->write(&request, 1), 0);
}

TEST_F(PosixSerialChannelTest, WaitOnSeveralPortsEndsWithTheFirstThatMoves) {
    PtyPair second;
    ASSERT_TRUE(second.ok());
    fs::create_symlink(second.slavePath(), dir_ / "COM5");
    auto a = makeSerialChannel();
    auto b = makeSerialChannel();
    ASSERT_EQ(a->open(3), 1);
    ASSERT_EQ(b->open(5), 1);
    SerialPort* const both[] = {a.get(), b.get()};

    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(waitAnyReadable(both, 20ms), PortWait::TimedOut);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 19ms);

    second.sendToSlave({0x42});
    ASSERT_TRUE(second.waitQueuedOnSlave(1));
    EXPECT_EQ(waitAnyReadable(both, 5s), PortWait::Readable);
    EXPECT_EQ(a->waitReadable(0ms), PortWait::TimedOut);
    EXPECT_EQ(b->waitReadable(0ms), PortWait::Readable);

    // A port that is not a channel of this platform, or a closed one, cannot take part.
    b->close();
    EXPECT_EQ(waitAnyReadable(both, 5s), PortWait::CannotWait);
}

TEST_F(PosixSerialChannelTest, PortHeldByAnotherChannelDoesNotOpenUntilReleased) {
    auto first = makeSerialChannel();
    auto second = makeSerialChannel();
    ASSERT_EQ(first->open(3), 1);
    EXPECT_EQ(second->open(3), 0);
    EXPECT_EQ(second->isOpen(), 0);
    // An open channel stays on its port whatever number it is asked for.
    EXPECT_EQ(first->open(9), 1);
    first->close();
    EXPECT_EQ(second->open(3), 1);
    second.reset();  // RAII close
    EXPECT_EQ(first->open(3), 1);
}

TEST_F(PosixSerialChannelTest, FailedOpenHoldsNothing) {
    std::FILE* plain = std::fopen((dir_ / "not-a-tty").c_str(), "w");
    ASSERT_NE(plain, nullptr);
    std::fclose(plain);
    fs::create_symlink(dir_ / "not-a-tty", dir_ / "COM4");

    int before = openDescriptorCount();
    auto channel = makeSerialChannel();
    EXPECT_EQ(channel->open(7), 0);  // no such port
    EXPECT_EQ(channel->open(4), 0);  // exists but is no serial device
    EXPECT_EQ(channel->open(0), 0);
    EXPECT_EQ(channel->open(15), 0);
    EXPECT_EQ(channel->isOpen(), 0);
    EXPECT_EQ(openDescriptorCount(), before);
    EXPECT_EQ(channel->waitReadable(10ms), PortWait::CannotWait);
}

}  // namespace
}  // namespace quelt

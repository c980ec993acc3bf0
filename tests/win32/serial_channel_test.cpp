// The Win32 serial channel against pty peers that scripts/wine/serial-rig.py serves and the wine
// registry maps to COM ports:
//   COM3, COM12  responders (echo; 0xF0 N -> N counting bytes; 0xF1 -> line settings text;
//                0xF2 -> the peer's name)
//   COM4         a peer that never reads
//   COM5         a peer that hangs up when it receives a byte
//   COM13        not mapped
#include "platform/serial/win32/serial_channel.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

namespace quelt::win32 {
namespace {

constexpr int kResponder = 3;
constexpr int kHighResponder = 12;
constexpr int kStalled = 4;
constexpr int kHangsUp = 5;
constexpr int kUnmapped = 13;

constexpr std::uint8_t kCountCommand = 0xF0;
constexpr std::uint8_t kLineSettingsCommand = 0xF1;
constexpr std::uint8_t kNameCommand = 0xF2;

// Reads until `count` bytes arrived or about 3 s passed.
std::vector<std::uint8_t> collect(SerialChannel& channel, std::size_t count) {
    std::vector<std::uint8_t> received;
    const ULONGLONG start = GetTickCount64();
    while (received.size() < count && GetTickCount64() - start < 3000) {
        if (channel.waitReadable(std::chrono::milliseconds(100)) != PortWait::Readable) {
            continue;
        }
        std::uint8_t buffer[64];
        const std::size_t n = channel.readAvailable(buffer, sizeof(buffer));
        received.insert(received.end(), buffer, buffer + n);
    }
    return received;
}

// Reads and drops what an earlier case left on the line (the responder's echoes).
void drain(SerialChannel& channel) {
    std::uint8_t buffer[64];
    while (channel.waitReadable(std::chrono::milliseconds(50)) == PortWait::Readable &&
           channel.readAvailable(buffer, sizeof buffer) > 0) {
    }
}

bool waitQueued(SerialChannel& channel, DWORD count) {
    const ULONGLONG start = GetTickCount64();
    while (channel.queuedBytes() < count) {
        if (GetTickCount64() - start > 3000) {
            return false;
        }
        Sleep(1);
    }
    return true;
}

class Win32SerialChannel : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::getenv("QUELT_WIN32_SERIAL_RIG") == nullptr) {
            GTEST_SKIP() << "needs the pty peers of scripts/tests.d/wine.sh";
        }
    }
};

TEST_F(Win32SerialChannel, ExchangesBytesWithThePeerAndConfiguresTheLine) {
    SerialChannel channel;
    ASSERT_EQ(channel.open(kResponder), 1);
    EXPECT_EQ(channel.isOpen(), 1);

    const std::vector<std::uint8_t> frame{0x01, 0x02, 0x03, 0x10, 0x20, 0x30, 0x40, 0x50,
                                          0x60, 0x70, 0x80, 0x90, 0xA0, 0xB0, 0xC0, 0xAA};
    ASSERT_EQ(channel.write(frame.data(), frame.size()), 1);
    EXPECT_EQ(collect(channel, frame.size()), frame);

    // The peer's terminal starts at 9600 7E2: everything but flow control must have been set.
    ASSERT_EQ(channel.write(&kLineSettingsCommand, 1), 1);
    const std::vector<std::uint8_t> settings = collect(channel, 16);
    EXPECT_EQ(std::string(settings.begin(), settings.end()).substr(0, 12), "460800,8,N,1");
}

TEST_F(Win32SerialChannel, ReadTakesAtMostTheMaximumAndLeavesTheRestQueued) {
    SerialChannel channel;
    ASSERT_EQ(channel.open(kResponder), 1);
    std::uint8_t buffer[64] = {};
    EXPECT_EQ(channel.readAvailable(buffer, sizeof(buffer)), 0u) << "nothing queued yet";
    EXPECT_EQ(channel.waitReadable(std::chrono::milliseconds(20)), PortWait::TimedOut);

    const std::uint8_t request[] = {kCountCommand, 40};
    ASSERT_EQ(channel.write(request, sizeof(request)), 1);
    ASSERT_TRUE(waitQueued(channel, 40));

    ASSERT_EQ(channel.readAvailable(buffer, 32), 32u);
    for (int i = 0; i < 32; ++i) {
        ASSERT_EQ(buffer[i], i);
    }
    EXPECT_EQ(channel.queuedBytes(), 8u);
    ASSERT_EQ(channel.readAvailable(buffer, 32), 8u);
    for (int i = 0; i < 8; ++i) {
        ASSERT_EQ(buffer[i], 32 + i);
    }
    EXPECT_EQ(channel.readAvailable(buffer, 32), 0u);
}

TEST_F(Win32SerialChannel, FailedOpenHoldsNothingAndTheChannelStaysUsable) {
    SerialChannel channel;
    EXPECT_EQ(channel.open(kUnmapped), 0);
    EXPECT_EQ(channel.open(0), 0);
    EXPECT_EQ(channel.open(-1), 0);
    EXPECT_EQ(channel.isOpen(), 0);
    const std::uint8_t byte = 0x55;
    std::uint8_t buffer[4];
    EXPECT_EQ(channel.write(&byte, 1), 0);
    EXPECT_EQ(channel.readAvailable(buffer, sizeof(buffer)), 0u);
    EXPECT_EQ(channel.waitReadable(std::chrono::milliseconds(10)), PortWait::CannotWait)
        << "a closed channel leaves the waiting to the caller";

    ASSERT_EQ(channel.open(kResponder), 1);
    ASSERT_EQ(channel.write(&byte, 1), 1);
    EXPECT_EQ(collect(channel, 1), std::vector<std::uint8_t>{byte});
}

std::string peerName(SerialChannel& channel) {
    if (channel.write(&kNameCommand, 1) != 1) {
        return "write failed";
    }
    const std::vector<std::uint8_t> name = collect(channel, 8);
    return std::string(name.begin(), name.end());
}

// (Wine does not refuse a second open of a COM device the way Windows does, so the exclusive
// sharing mode itself cannot be observed here.)
TEST_F(Win32SerialChannel, AnOpenChannelStaysBoundToItsPort) {
    SerialChannel first;
    ASSERT_EQ(first.open(kResponder), 1);
    EXPECT_EQ(first.open(kHighResponder), 1) << "already open: succeeds without looking at n";
    EXPECT_EQ(peerName(first), "COM3    ");

    first.close();
    EXPECT_EQ(first.isOpen(), 0);
    ASSERT_EQ(first.open(kHighResponder), 1) << "a closed channel opens any port again";
    EXPECT_EQ(peerName(first), "COM12   ");
}

TEST_F(Win32SerialChannel, PortsAboveNineOpenAndCloseReleasesThemForReuse) {
    for (int round = 0; round < 3; ++round) {
        const std::unique_ptr<SerialPort> channel = makeSerialChannel();
        ASSERT_EQ(channel->open(kHighResponder), 1) << "round " << round;
        const std::uint8_t text[] = {'C', 'O', 'M', '1', '2'};
        ASSERT_EQ(channel->write(text, sizeof(text)), 1);
        std::vector<std::uint8_t> received;
        for (int tries = 0; tries < 30 && received.size() < sizeof(text); ++tries) {
            std::uint8_t buffer[8];
            channel->waitReadable(std::chrono::milliseconds(100));
            const std::size_t n = channel->readAvailable(buffer, sizeof(buffer));
            received.insert(received.end(), buffer, buffer + n);
        }
        EXPECT_EQ(received, std::vector<std::uint8_t>(text, text + sizeof(text)));
        // The destructor closes: the next round opens the same port again.
    }
}

TEST_F(Win32SerialChannel, WriteThatCannotFinishFailsAndLeavesTheChannelSound) {
    SerialChannel channel;
    ASSERT_EQ(channel.open(kStalled), 1);
    // Far more than the terminal buffers while nobody reads: the write cannot finish in 1 s.
    const std::vector<std::uint8_t> flood(1 << 20, 0x5A);
    EXPECT_EQ(channel.write(flood.data(), flood.size()), 0);
    // The timed-out write was cancelled, so its record can carry the next one.
    EXPECT_EQ(channel.write(flood.data(), flood.size()), 0);
    std::uint8_t buffer[8];
    EXPECT_EQ(channel.readAvailable(buffer, sizeof(buffer)), 0u);
    channel.close();
    EXPECT_EQ(channel.open(kStalled), 1);
}

double msSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

TEST_F(Win32SerialChannel, WaitsOnThePortForTheWholeTimeLeft) {
    SerialChannel channel;
    ASSERT_EQ(channel.open(kResponder), 1);
    for (const auto timeout : {std::chrono::microseconds(900), std::chrono::microseconds(20000)}) {
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(channel.waitReadable(timeout), PortWait::TimedOut);
        EXPECT_GE(msSince(start), timeout.count() / 1000.0 * 0.95);
    }
    const std::uint8_t byte = 0x33;
    ASSERT_EQ(channel.write(&byte, 1), 1);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(channel.waitReadable(std::chrono::seconds(3)), PortWait::Readable);
    EXPECT_LT(msSince(start), 1000.0);
}

TEST_F(Win32SerialChannel, WaitOnSeveralPortsEndsWithTheFirstThatMoves) {
    SerialChannel low;
    SerialChannel high;
    ASSERT_EQ(low.open(kResponder), 1);
    ASSERT_EQ(high.open(kHighResponder), 1);
    drain(low);
    drain(high);
    SerialPort* const both[] = {&low, &high};
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(waitAnyReadable(both, std::chrono::milliseconds(20)), PortWait::TimedOut);
    EXPECT_GE(msSince(start), 19.0);

    const std::uint8_t byte = 0x44;
    ASSERT_EQ(high.write(&byte, 1), 1);
    start = std::chrono::steady_clock::now();
    EXPECT_EQ(waitAnyReadable(both, std::chrono::seconds(3)), PortWait::Readable);
    EXPECT_LT(msSince(start), 1000.0);
    EXPECT_TRUE(waitQueued(high, 1));
    EXPECT_EQ(low.waitReadable(std::chrono::microseconds(0)), PortWait::TimedOut);
    // Every wait was ended before the call returned: the channels close and reopen cleanly.
    high.close();
    EXPECT_EQ(waitAnyReadable(both, std::chrono::seconds(3)), PortWait::CannotWait);
    ASSERT_EQ(high.open(kHighResponder), 1);
}

TEST_F(Win32SerialChannel, HungUpLineEndsTheWaitAtOnce) {
    SerialChannel channel;
    ASSERT_EQ(channel.open(kHangsUp), 1);
    const std::uint8_t byte = 0x55;
    ASSERT_EQ(channel.write(&byte, 1), 1);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(channel.waitReadable(std::chrono::seconds(10)), PortWait::LineLost);
    EXPECT_LT(msSince(start), 2000.0);
    EXPECT_EQ(channel.waitReadable(std::chrono::seconds(10)), PortWait::LineLost);
    EXPECT_LT(msSince(start), 2000.0);
}

}  // namespace
}  // namespace quelt::win32

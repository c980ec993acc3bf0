// Measures 16-byte round trips through the Win32 serial channel to an echoing peer:
//   win32_serial_roundtrip COMNUMBER [COUNT]
// Prints the median and the slowest round trip. Run by scripts/tests.d/wine.sh.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/serial/win32/serial_channel.h"

namespace {

double nowMs() {
    LARGE_INTEGER frequency;
    LARGE_INTEGER counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool roundTrip(quelt::win32::SerialChannel& channel, const std::uint8_t* frame, std::size_t size) {
    if (channel.write(frame, size) != 1) {
        return false;
    }
    std::size_t received = 0;
    std::uint8_t buffer[32];
    while (received < size) {
        if (channel.waitReadable(std::chrono::milliseconds(2000)) != quelt::PortWait::Readable) {
            return false;
        }
        received += channel.readAvailable(buffer, sizeof(buffer));
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s COMNUMBER [COUNT]\n", argv[0]);
        return 2;
    }
    const int port = std::atoi(argv[1]);
    const int count = argc > 2 ? std::max(1, std::atoi(argv[2])) : 200;
    quelt::win32::SerialChannel channel;
    if (channel.open(port) != 1) {
        std::fprintf(stderr, "cannot open COM%d\n", port);
        return 1;
    }
    const std::uint8_t frame[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0xAA};
    std::vector<double> times;
    for (int i = 0; i < count; ++i) {
        const double start = nowMs();
        if (!roundTrip(channel, frame, sizeof(frame))) {
            std::fprintf(stderr, "round trip %d failed\n", i);
            return 1;
        }
        times.push_back(nowMs() - start);
    }
    std::sort(times.begin(), times.end());
    std::printf("COM%d 16-byte round trip over %d runs: median %.3f ms, slowest %.3f ms\n", port,
                count, times[times.size() / 2], times.back());
    return 0;
}

// Opens a native window, presents a gradient with per-pixel alpha and reports the pointer input
// it receives on standard output, then quits after the given time.
//   quelt-window-demo [milliseconds=3000] [x=100] [y=100] [error]
// With "error", an error box is shown over the window first (the time runs once it is closed).
// A press in the top 32 rows drags the window; elsewhere it captures the pointer until release.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/window/window_host.h"

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 300;
constexpr std::uint32_t kQuitMessage = quelt::kUserMessage + 205;

// Left half: alpha rises from 0 to 255 across the half; right half: opaque. Red to blue.
std::vector<std::uint32_t> gradient() {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kWidth) * kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const std::uint32_t alpha =
                x < kWidth / 2 ? static_cast<std::uint32_t>(x * 255 / (kWidth / 2 - 1)) : 255u;
            const std::uint32_t red = static_cast<std::uint32_t>(255 - x * 255 / (kWidth - 1));
            const std::uint32_t blue = static_cast<std::uint32_t>(y < 32 ? 64 : 255 - red);
            // premultiply
            const std::uint32_t r = red * alpha / 255;
            const std::uint32_t b = blue * alpha / 255;
            pixels[static_cast<std::size_t>(y) * kWidth + static_cast<std::size_t>(x)] =
                (alpha << 24) | (r << 16) | b;
        }
    }
    return pixels;
}

class Demo : public quelt::WindowHandler {
  public:
    explicit Demo(quelt::WindowHost& host) : host_(host) {}

    std::intptr_t onMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t) override {
        std::printf("message %u %lu\n", message, static_cast<unsigned long>(wParam));
        std::fflush(stdout);
        if (message == kQuitMessage) {
            host_.quit(static_cast<int>(wParam));
        }
        return 0;
    }

    void onPointer(const quelt::PointerInput& input) override {
        static const char* const names[] = {"press", "release", "move"};
        if (input.action != quelt::PointerAction::Move) {
            std::printf("%s %d %d flags %u\n", names[static_cast<int>(input.action)], input.x,
                        input.y, input.flags);
            std::fflush(stdout);
        }
        if (input.action == quelt::PointerAction::Press) {
            if (input.y < 32) {
                host_.beginCaptionDrag(input.x, input.y);
            } else {
                host_.setCapture();
            }
        } else if (input.action == quelt::PointerAction::Release) {
            host_.releaseCapture();
        } else {
            host_.setCursor(input.x >= kWidth / 2 && input.y >= 32 ? quelt::CursorShape::Hand
                                                                   : quelt::CursorShape::Arrow);
        }
    }

  private:
    quelt::WindowHost& host_;
};

}  // namespace

int main(int argc, char** argv) {
    const int ms = argc > 1 ? std::atoi(argv[1]) : 3000;
    const int x = argc > 2 ? std::atoi(argv[2]) : 100;
    const int y = argc > 3 ? std::atoi(argv[3]) : 100;
    auto host = quelt::makeNativeWindowHost();
    Demo demo(*host);
    host->setHandler(&demo);
    if (!host->create(kWidth, kHeight)) {
        std::fprintf(stderr, "no window can be made (no display?)\n");
        return 2;
    }
    const std::vector<std::uint32_t> pixels = gradient();
    host->present(pixels.data(), kWidth, kHeight, kWidth * 4);
    host->move(x, y);
    host->show();
    std::printf("shown\n");
    std::fflush(stdout);
    if (argc > 4 && std::string(argv[4]) == "error") {
        host->waitPumpingMessages(200);
        host->showErrorBox("Panoril apply fail.\nErrorCode = 0xA001");
        std::printf("error box closed\n");
        std::fflush(stdout);
    }
    host->waitPumpingMessages(static_cast<std::uint32_t>(ms));
    host->post(kQuitMessage, 0, 0);
    const int code = host->run();
    const quelt::WindowPoint where = host->screenPosition();
    std::printf("quit %d at %d %d\n", code, where.x, where.y);
    return code;
}

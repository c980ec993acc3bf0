#include "support/test_images.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <fstream>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

namespace quelt::test {

ScratchFolder::ScratchFolder() {
    static std::atomic<int> serial{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = std::filesystem::temp_directory_path() /
            ("quelt-skin-" + std::to_string(stamp) + "-" + std::to_string(serial++));
    std::filesystem::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void WritePng(const std::string& path, int width, int height,
              const std::vector<std::uint32_t>& pixels) {
    std::vector<std::uint8_t> rgba;
    rgba.reserve(pixels.size() * 4);
    for (const std::uint32_t p : pixels) {
        rgba.insert(rgba.end(),
                    {static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
                     static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(p >> 24)});
    }
    stbi_write_png(path.c_str(), width, height, 4, rgba.data(), width * 4);
}

void WriteGreyPng(const std::string& path, int width, int height, std::uint8_t grey) {
    const std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height, grey);
    stbi_write_png(path.c_str(), width, height, 1, pixels.data(), width);
}

void WriteStrip(const std::string& path, int sliceWidth, int height,
                const std::vector<std::uint32_t>& colours) {
    const int width = sliceWidth * static_cast<int>(colours.size());
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            pixels[static_cast<std::size_t>(y) * width + x] =
                colours[static_cast<std::size_t>(x / sliceWidth)];
        }
    }
    WritePng(path, width, height, pixels);
}

Colour ColourAt(const gfx::Canvas& canvas, int x, int y) {
    const std::uint32_t p = canvas.pixel(x, y);
    Colour c;
    c.a = static_cast<int>(p >> 24);
    if (c.a == 0) {
        return c;
    }
    const auto straight = [&](int shift) {
        return std::min(255, (static_cast<int>((p >> shift) & 0xFF) * 255 + c.a / 2) / c.a);
    };
    c.r = straight(16);
    c.g = straight(8);
    c.b = straight(0);
    return c;
}

Box InkBox(const gfx::Canvas& canvas) {
    Box box{canvas.width(), canvas.height(), 0, 0, 0, 0};
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const int a = static_cast<int>(canvas.pixel(x, y) >> 24);
            if (a == 0) {
                continue;
            }
            box.left = std::min(box.left, x);
            box.top = std::min(box.top, y);
            box.right = std::max(box.right, x + 1);
            box.bottom = std::max(box.bottom, y + 1);
            box.maxAlpha = std::max(box.maxAlpha, a);
            ++box.count;
        }
    }
    return box;
}

}  // namespace quelt::test

// Sanitizer builds: the system's font configuration library keeps process-lifetime caches that
// the leak checker reports as lost, and the text layout library loads fonts on a helper thread
// synchronised by uninstrumented code, which the race detector cannot see. Neither is ours.
// Builds without those checkers never call these.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
extern "C" const char* __tsan_default_suppressions() {
    return "race:libfontconfig.so\nrace:libglib-2.0.so\nrace:libpango-1.0.so\n";
}

#pragma once
// Helpers of the skin tests: a scratch folder, a PNG writer and pixel readers that work on every
// drawing backend.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/gfx/gfx.h"

namespace quelt::test {

// Unique empty folder, removed with everything in it on destruction.
class ScratchFolder {
  public:
    ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder();
    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

// Writes an RGBA PNG; pixels are straight (not premultiplied) 0xAARRGGBB, row by row.
void WritePng(const std::string& path, int width, int height,
              const std::vector<std::uint32_t>& pixels);

// A solid grey PNG with one channel: about a quarter of the bytes of WritePng for large sizes.
void WriteGreyPng(const std::string& path, int width, int height, std::uint8_t grey);

// A strip of `count` solid slices, each `sliceWidth` x `height`, slice k in colours[k].
void WriteStrip(const std::string& path, int sliceWidth, int height,
                const std::vector<std::uint32_t>& colours);

// Straight colour of a canvas pixel (premultiplication undone).
struct Colour {
    int a = 0;
    int r = 0;
    int g = 0;
    int b = 0;
};
Colour ColourAt(const gfx::Canvas& canvas, int x, int y);

// Bounding box of the pixels with nonzero alpha; empty (right <= left) when there are none.
struct Box {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int count = 0;  // number of such pixels
    int maxAlpha = 0;
};
Box InkBox(const gfx::Canvas& canvas);

}  // namespace quelt::test

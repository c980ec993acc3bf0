// The size check images pass before decoding: the size each format declares, the bound (8192
// pixels a side, 64 MiB decoded) and what the check answers for damaged or hostile headers.
#include "platform/gfx/image_header.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/gfx/gfx.h"

namespace quelt::gfx {
namespace {

using Bytes = std::vector<std::uint8_t>;

void PutBe(Bytes& b, std::uint32_t value, int count) {
    for (int i = count - 1; i >= 0; --i) {
        b.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}
void PutLe(Bytes& b, std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) {
        b.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}
void PutText(Bytes& b, const char* text) {
    for (; *text != '\0'; ++text) {
        b.push_back(static_cast<std::uint8_t>(*text));
    }
}

// Signature and IHDR (the CRC is not checked before decoding).
Bytes Png(std::uint32_t width, std::uint32_t height) {
    Bytes b = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutBe(b, 13, 4);
    PutText(b, "IHDR");
    PutBe(b, width, 4);
    PutBe(b, height, 4);
    b.insert(b.end(), {8, 6, 0, 0, 0, 0, 0, 0, 0});
    return b;
}

// SOI, an APP0 segment, a Huffman table segment (C4 is no frame header), then SOF marker `sof`.
Bytes Jpeg(std::uint32_t width, std::uint32_t height, std::uint8_t sof = 0xC0) {
    Bytes b = {0xFF, 0xD8, 0xFF, 0xE0};
    PutBe(b, 16, 2);
    PutText(b, "JFIF");
    b.insert(b.end(), {0, 1, 1, 0, 0, 1, 0, 1, 0, 0});
    b.insert(b.end(), {0xFF, 0xC4, 0x00, 0x06, 0x12, 0x34, 0x56, 0x78});
    b.insert(b.end(), {0xFF, 0xFF, sof});  // a fill byte before the marker
    PutBe(b, 17, 2);
    b.push_back(8);
    PutBe(b, height, 2);
    PutBe(b, width, 2);
    b.insert(b.end(), {3, 1, 0x22, 0, 2, 0x11, 1, 3, 0x11, 1});
    return b;
}

Bytes Gif(std::uint32_t width, std::uint32_t height) {
    Bytes b;
    PutText(b, "GIF89a");
    PutLe(b, width, 2);
    PutLe(b, height, 2);
    b.insert(b.end(), {0, 0, 0});
    return b;
}

// File header and a 40-byte info header (height negative: rows top-down).
Bytes Bmp(std::int32_t width, std::int32_t height) {
    Bytes b;
    PutText(b, "BM");
    PutLe(b, 0, 4);
    PutLe(b, 0, 4);
    PutLe(b, 54, 4);
    PutLe(b, 40, 4);
    PutLe(b, static_cast<std::uint32_t>(width), 4);
    PutLe(b, static_cast<std::uint32_t>(height), 4);
    PutLe(b, 1, 2);
    PutLe(b, 32, 2);
    b.resize(54, 0);
    return b;
}

Bytes BmpCore(std::uint32_t width, std::uint32_t height) {
    Bytes b;
    PutText(b, "BM");
    b.resize(14, 0);
    PutLe(b, 12, 4);
    PutLe(b, width, 2);
    PutLe(b, height, 2);
    PutLe(b, 1, 2);
    PutLe(b, 24, 2);
    return b;
}

Bytes Cut(Bytes b, std::size_t size) {
    b.resize(size);
    return b;
}
Bytes Flip(Bytes b, std::size_t at) {
    b[at] ^= 0xFF;
    return b;
}

struct Case {
    const char* name;
    Bytes bytes;
    int status;
    ImageFormat format;
    std::uint32_t width;
    std::uint32_t height;
};

constexpr ImageFormat kNone = ImageFormat::Unknown;

std::vector<Case> Cases() {
    return {
        // The shipped sizes pass.
        {"PanelBackground", Png(1127, 679), kOk, ImageFormat::Png, 1127, 679},
        {"ShadowStrip", Png(2254, 679), kOk, ImageFormat::Png, 2254, 679},
        // Damaged headers: nothing is decoded.
        {"Empty", {}, kUnknownImageFormat, kNone, 0, 0},
        {"PngCutInsideIhdr", Cut(Png(10, 10), 23), kUnknownImageFormat, kNone, 0, 0},
        {"PngCutInSignature", Cut(Png(10, 10), 5), kUnknownImageFormat, kNone, 0, 0},
        {"WrongSignature", Flip(Png(10, 10), 1), kUnknownImageFormat, kNone, 0, 0},
        {"FirstChunkNotIhdr", Flip(Png(10, 10), 13), kUnknownImageFormat, kNone, 0, 0},
        {"IhdrLengthNot13", Flip(Png(10, 10), 11), kUnknownImageFormat, kNone, 0, 0},
        {"NotAnImage",
         {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'},
         kUnknownImageFormat,
         kNone,
         0,
         0},
        {"TiffIsNotAccepted", {'I', 'I', '*', 0, 8, 0, 0, 0}, kUnknownImageFormat, kNone, 0, 0},
        // Empty sizes.
        {"Png0x0", Png(0, 0), kInvalidParameter, ImageFormat::Png, 0, 0},
        {"Png0Wide", Png(0, 5), kInvalidParameter, ImageFormat::Png, 0, 5},
        // The side bound, both ways.
        {"Png8192Wide", Png(8192, 1), kOk, ImageFormat::Png, 8192, 1},
        {"Png8192High", Png(1, 8192), kOk, ImageFormat::Png, 1, 8192},
        {"Png8193Wide", Png(8193, 1), kValueOverflow, ImageFormat::Png, 8193, 1},
        {"Png8193High", Png(1, 8193), kValueOverflow, ImageFormat::Png, 1, 8193},
        // The 64 MiB bound at 4 bytes per pixel.
        {"Exactly64MiB", Png(4096, 4096), kOk, ImageFormat::Png, 4096, 4096},
        {"OneRowOver64MiB", Png(4096, 4097), kValueOverflow, ImageFormat::Png, 4096, 4097},
        {"Widest64MiB", Png(8192, 2048), kOk, ImageFormat::Png, 8192, 2048},
        {"Widest64MiBPlusARow", Png(8192, 2049), kValueOverflow, ImageFormat::Png, 8192, 2049},
        {"Claims60000Square", Png(60000, 60000), kValueOverflow, ImageFormat::Png, 60000, 60000},
        {"ClaimsLargest", Png(0xFFFFFFFF, 0xFFFFFFFF), kValueOverflow, ImageFormat::Png, 0xFFFFFFFF,
         0xFFFFFFFF},
        // JPEG: the first frame header after the other segments.
        {"Jpeg", Jpeg(640, 480), kOk, ImageFormat::Jpeg, 640, 480},
        {"JpegProgressive", Jpeg(300, 200, 0xC2), kOk, ImageFormat::Jpeg, 300, 200},
        {"JpegOversized", Jpeg(9000, 10), kValueOverflow, ImageFormat::Jpeg, 9000, 10},
        {"JpegHeightLater", Jpeg(640, 0), kInvalidParameter, ImageFormat::Jpeg, 640, 0},
        {"JpegCutBeforeFrame", Cut(Jpeg(640, 480), 30), kUnknownImageFormat, kNone, 0, 0},
        {"JpegCutInFrame", Cut(Jpeg(640, 480), 34), kUnknownImageFormat, kNone, 0, 0},
        {"JpegScanBeforeFrame", Jpeg(640, 480, 0xDA), kUnknownImageFormat, kNone, 0, 0},
        // GIF: the logical screen.
        {"Gif", Gif(320, 200), kOk, ImageFormat::Gif, 320, 200},
        {"GifOversized", Gif(65535, 65535), kValueOverflow, ImageFormat::Gif, 65535, 65535},
        {"GifCut", Cut(Gif(320, 200), 9), kUnknownImageFormat, kNone, 0, 0},
        // BMP: info and core headers, rows top-down, negative widths.
        {"Bmp", Bmp(16, 8), kOk, ImageFormat::Bmp, 16, 8},
        {"BmpTopDown", Bmp(16, -8), kOk, ImageFormat::Bmp, 16, 8},
        {"BmpTopDownOversized", Bmp(16, -9000), kValueOverflow, ImageFormat::Bmp, 16, 9000},
        {"BmpMostNegativeHeight", Bmp(16, INT32_MIN), kValueOverflow, ImageFormat::Bmp, 16,
         0x80000000u},
        {"BmpNegativeWidth", Bmp(-16, 8), kUnknownImageFormat, kNone, 0, 0},
        {"BmpCore", BmpCore(30, 20), kOk, ImageFormat::Bmp, 30, 20},
        {"BmpCutInHeader", Cut(Bmp(16, 8), 20), kUnknownImageFormat, kNone, 0, 0},
    };
}

TEST(ImageHeader, ReadsTheDeclaredSizeAndRefusesWhatIsOverTheBound) {
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.name);
        const ImageHeader header = readImageHeader(c.bytes.data(), c.bytes.size());
        EXPECT_EQ(header.format, c.format);
        EXPECT_EQ(header.width, c.width);
        EXPECT_EQ(header.height, c.height);
        EXPECT_EQ(checkImageHeader(c.bytes.data(), c.bytes.size()), c.status);
    }
}

TEST(ImageHeader, ChecksTheFirstBytesOfAFile) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path();
    const std::filesystem::path good = folder / "quelt-header-test-good.kesp";
    const std::filesystem::path huge = folder / "quelt-header-test-huge.kesp";
    for (const auto& [path, bytes] : {std::pair{good, Png(12, 34)}, {huge, Png(60000, 60000)}}) {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    EXPECT_EQ(checkImageFile(good.string()), kOk);
    EXPECT_EQ(checkImageFile(huge.string()), kValueOverflow);
    EXPECT_EQ(checkImageFile((folder / "quelt-header-test-missing.kesp").string()), kFileNotFound);
    std::filesystem::remove(good);
    std::filesystem::remove(huge);
}

}  // namespace
}  // namespace quelt::gfx

#include "platform/gfx/image_header.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/gfx/gfx.h"

namespace quelt::gfx {

namespace {

// Reads of fixed-size fields that never go past the end of the bytes.
class Bytes {
  public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool has(std::size_t offset, std::size_t count) const {
        return offset <= size_ && count <= size_ - offset;
    }
    bool startsWith(const char* text, std::size_t count) const {
        return has(0, count) && std::memcmp(data_, text, count) == 0;
    }
    std::uint8_t u8(std::size_t at) const { return data_[at]; }
    std::uint32_t be16(std::size_t at) const {
        return (std::uint32_t{data_[at]} << 8) | data_[at + 1];
    }
    std::uint32_t be32(std::size_t at) const { return (be16(at) << 16) | be16(at + 2); }
    std::uint32_t le16(std::size_t at) const {
        return std::uint32_t{data_[at]} | (std::uint32_t{data_[at + 1]} << 8);
    }
    std::uint32_t le32(std::size_t at) const { return le16(at) | (le16(at + 2) << 16); }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
};

ImageHeader Sized(ImageFormat format, std::uint32_t width, std::uint32_t height) {
    return ImageHeader{format, width, height};
}

// Signature, then IHDR as the first chunk (13 bytes: width, height, ...).
ImageHeader ReadPng(const Bytes& b) {
    if (!b.has(0, 24) || b.be32(8) != 13) {
        return {};
    }
    if (b.u8(12) != 'I' || b.u8(13) != 'H' || b.u8(14) != 'D' || b.u8(15) != 'R') {
        return {};
    }
    return Sized(ImageFormat::Png, b.be32(16), b.be32(20));
}

// "GIF87a" / "GIF89a", then the logical screen's width and height (16-bit little-endian).
ImageHeader ReadGif(const Bytes& b) {
    if (!b.has(0, 10)) {
        return {};
    }
    return Sized(ImageFormat::Gif, b.le16(6), b.le16(8));
}

// "BM", a 14-byte file header, then the bitmap header: the 12-byte core header with 16-bit
// sizes, or a longer one with 32-bit signed sizes (a negative height means rows top-down).
ImageHeader ReadBmp(const Bytes& b) {
    if (!b.has(14, 4)) {
        return {};
    }
    const std::uint32_t headerSize = b.le32(14);
    if (headerSize == 12) {
        return b.has(18, 4) ? Sized(ImageFormat::Bmp, b.le16(18), b.le16(20)) : ImageHeader{};
    }
    if (headerSize < 16 || !b.has(18, 8)) {
        return {};
    }
    const auto width = static_cast<std::int32_t>(b.le32(18));
    const auto height = static_cast<std::int64_t>(static_cast<std::int32_t>(b.le32(22)));
    if (width < 0) {
        return {};
    }
    const std::int64_t rows = height < 0 ? -height : height;
    if (rows > 0xFFFFFFFFll) {
        return {};
    }
    return Sized(ImageFormat::Bmp, static_cast<std::uint32_t>(width),
                 static_cast<std::uint32_t>(rows));
}

bool IsStartOfFrame(std::uint8_t marker) {
    // C0 to CF are frame headers except C4 (Huffman tables), C8 (reserved) and CC (arithmetic
    // coding conditions).
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// SOI, then marker segments up to the first frame header, which holds height and width.
ImageHeader ReadJpeg(const Bytes& b) {
    std::size_t at = 2;
    for (;;) {
        if (!b.has(at, 2) || b.u8(at) != 0xFF) {
            return {};
        }
        std::uint8_t marker = b.u8(at + 1);
        while (marker == 0xFF) {  // fill bytes before a marker
            ++at;
            if (!b.has(at, 2)) {
                return {};
            }
            marker = b.u8(at + 1);
        }
        at += 2;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {
            continue;  // markers without a segment
        }
        if (marker == 0xD9 || marker == 0xDA || !b.has(at, 2)) {
            return {};  // end of image or scan data before any frame header
        }
        const std::uint32_t length = b.be16(at);
        if (length < 2) {
            return {};
        }
        if (IsStartOfFrame(marker)) {
            // Length, precision, height, width.
            if (length < 7 || !b.has(at, 7)) {
                return {};
            }
            return Sized(ImageFormat::Jpeg, b.be16(at + 5), b.be16(at + 3));
        }
        at += length;
    }
}

}  // namespace

ImageHeader readImageHeader(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr) {
        return {};
    }
    const Bytes b(data, size);
    if (b.startsWith("\x89PNG\r\n\x1a\n", 8)) {
        return ReadPng(b);
    }
    if (b.startsWith("\xFF\xD8", 2)) {
        return ReadJpeg(b);
    }
    if (b.startsWith("GIF87a", 6) || b.startsWith("GIF89a", 6)) {
        return ReadGif(b);
    }
    if (b.startsWith("BM", 2)) {
        return ReadBmp(b);
    }
    return {};
}

bool imageSizeAllowed(std::uint64_t width, std::uint64_t height) {
    if (width == 0 || height == 0 || width > kMaxImageSide || height > kMaxImageSide) {
        return false;
    }
    return width * height * 4 <= kMaxDecodedBytes;  // both sides <= 8192: no overflow
}

int checkImageHeader(const std::uint8_t* data, std::size_t size) {
    const ImageHeader header = readImageHeader(data, size);
    if (header.format == ImageFormat::Unknown) {
        return kUnknownImageFormat;
    }
    if (header.width == 0 || header.height == 0) {
        return kInvalidParameter;
    }
    return imageSizeAllowed(header.width, header.height) ? kOk : kValueOverflow;
}

int checkImageFile(const std::string& nativePath) {
    // UTF-8 all the way to the file system, also where the platform's paths are wide.
    const std::u8string utf8(reinterpret_cast<const char8_t*>(nativePath.data()),
                             nativePath.size());
    std::ifstream file(std::filesystem::path(utf8), std::ios::binary);
    if (!file) {
        return kFileNotFound;
    }
    std::vector<std::uint8_t> head(kImageHeaderProbeBytes);
    file.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(head.size()));
    return checkImageHeader(head.data(), static_cast<std::size_t>(file.gcount()));
}

}  // namespace quelt::gfx

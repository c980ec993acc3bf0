#pragma once
// The size an image file claims, read from its first bytes before anything is decoded, and the
// bound every image must keep. A skin file is data from outside the program: one whose header
// claims 60000 x 60000 pixels would otherwise be decoded into gigabytes of memory. Both drawing
// backends check here first and treat a refused image exactly like one that cannot be decoded.
// Platform-free: bytes in, sizes out.
#include <cstddef>
#include <cstdint>
#include <string>

namespace quelt::gfx {

// Formats whose size can be read here. Anything else is refused before decoding.
enum class ImageFormat { Unknown, Png, Jpeg, Gif, Bmp };

struct ImageHeader {
    ImageFormat format = ImageFormat::Unknown;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// Each side at most 8192 pixels, and at most 64 MiB once decoded at 4 bytes per pixel.
inline constexpr std::uint32_t kMaxImageSide = 8192;
inline constexpr std::uint64_t kMaxDecodedBytes = std::uint64_t{64} * 1024 * 1024;
// How much of a file is read to find its size (JPEG puts its size after its other headers).
inline constexpr std::size_t kImageHeaderProbeBytes = 64 * 1024;

// The format and size the bytes (the start of an image file) declare. Format Unknown when the
// bytes are no image of a known format or are cut short before the size.
ImageHeader readImageHeader(const std::uint8_t* data, std::size_t size);

// True for a size that is neither empty nor over the bound.
bool imageSizeAllowed(std::uint64_t width, std::uint64_t height);

// Drawing status (gfx.h) for an image before it is decoded: kOk, kUnknownImageFormat when the
// header cannot be read, kInvalidParameter for an empty size, kValueOverflow for one over the
// bound.
int checkImageHeader(const std::uint8_t* data, std::size_t size);
// The same for the first bytes of a file (path in the platform's form, UTF-8);
// kFileNotFound when it cannot be opened.
int checkImageFile(const std::string& nativePath);

}  // namespace quelt::gfx

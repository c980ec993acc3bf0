// The size check every skin image passes before it is decoded, on any first bytes of a file.
#include <cstddef>
#include <cstdint>

#include "platform/gfx/gfx.h"
#include "platform/gfx/image_header.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quelt::gfx;
    const ImageHeader header = readImageHeader(data, size);
    const int status = checkImageHeader(data, size);
    // What passes is a known format of a size within the bound; nothing else does.
    const bool passed = status == kOk;
    const bool allowed =
        header.format != ImageFormat::Unknown && imageSizeAllowed(header.width, header.height);
    if (passed != allowed) {
        __builtin_trap();
    }
    return 0;
}

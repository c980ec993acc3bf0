// Images on Windows: GDI+ decodes files and "PNG" resources by content.
#include <cstring>

#include "platform/fs/fs.h"
#include "platform/gfx/gdiplus/gdiplus_common.h"
#include "platform/gfx/image_header.h"
#include "platform/os/win32/wide_string.h"

namespace quelt::gfx {

void Image::ImplDeleter::operator()(Impl* impl) const {
    delete impl;
}

namespace {

// GDI+ reads the size from the header; an image over the bound is refused before any drawing
// decodes its pixels.
int CheckDecoderSize(Gdiplus::GpImage* image) {
    UINT width = 0;
    UINT height = 0;
    if (gp::GdipGetImageWidth(image, &width) != Gdiplus::Ok ||
        gp::GdipGetImageHeight(image, &height) != Gdiplus::Ok) {
        return kGenericError;
    }
    return imageSizeAllowed(width, height) ? kOk : kValueOverflow;
}

// Takes the decoder's result into `impl`: the status of the load, or of the size check.
template <class Impl>
int AdoptDecoded(Impl& impl, Gdiplus::GpStatus status, Gdiplus::GpImage* image) {
    impl.image.reset(image);
    if (status != Gdiplus::Ok || image == nullptr) {
        return status != Gdiplus::Ok ? static_cast<int>(status) : kGenericError;
    }
    return CheckDecoderSize(image);
}

}  // namespace

Image Image::fromFile(const std::string& path) {
    Image result;
    const std::string native = fs::nativePath(path);
    // The size is checked before anything is decoded; a refused image fails like a broken one.
    result.status_ = checkImageFile(native);
    if (result.status_ != kOk) {
        return result;
    }
    const std::wstring wide = win32::widen(native);
    Gdiplus::GpImage* image = nullptr;
    const Gdiplus::GpStatus status = gp::GdipLoadImageFromFile(wide.c_str(), &image);
    auto impl = std::make_unique<Impl>();
    result.status_ = AdoptDecoded(*impl, status, image);
    if (result.status_ == kOk) {
        result.impl_.reset(impl.release());
    }
    return result;
}

Image Image::fromResource(int resourceId) {
    Image result;
    result.status_ = kFileNotFound;
    if (resourceId <= 0 || resourceId > 0xFFFF) {
        return result;  // not a numeric resource id
    }
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(static_cast<WORD>(resourceId)), L"PNG");
    if (resource == nullptr) {
        return result;
    }
    const DWORD size = SizeofResource(module, resource);
    HGLOBAL loaded = LoadResource(module, resource);
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr || size == 0) {
        return result;
    }
    result.status_ = checkImageHeader(static_cast<const std::uint8_t*>(bytes), size);
    if (result.status_ != kOk) {
        return result;
    }
    auto impl = std::make_unique<Impl>();
    // Streams need movable memory; the block is freed with the image.
    impl->memory.reset(GlobalAlloc(GMEM_MOVEABLE, size));
    void* target = impl->memory != nullptr ? GlobalLock(impl->memory.get()) : nullptr;
    if (target == nullptr) {
        result.status_ = kOutOfMemory;
        return result;
    }
    std::memcpy(target, bytes, size);
    GlobalUnlock(impl->memory.get());
    IStream* stream = nullptr;
    if (CreateStreamOnHGlobal(impl->memory.get(), FALSE, &stream) != S_OK) {
        result.status_ = kOutOfMemory;
        return result;
    }
    impl->stream.reset(stream);
    Gdiplus::GpImage* image = nullptr;
    const Gdiplus::GpStatus status = gp::GdipLoadImageFromStream(stream, &image);
    result.status_ = AdoptDecoded(*impl, status, image);
    if (result.status_ == kOk) {
        result.impl_.reset(impl.release());
    }
    return result;
}

bool Image::valid() const {
    return impl_ != nullptr && impl_->image != nullptr;
}

std::uint32_t Image::width() const {
    UINT value = 0;
    if (!valid() || gp::GdipGetImageWidth(impl_->image.get(), &value) != Gdiplus::Ok) {
        return 0;
    }
    return value;
}

std::uint32_t Image::height() const {
    UINT value = 0;
    if (!valid() || gp::GdipGetImageHeight(impl_->image.get(), &value) != Gdiplus::Ok) {
        return 0;
    }
    return value;
}

}  // namespace quelt::gfx

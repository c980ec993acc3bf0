// The canvas is plain memory on every platform; the backends draw into it in place.
#include <cstring>
#include <utility>

#include "platform/gfx/gfx.h"

namespace quelt::gfx {

Canvas::Canvas(Canvas&& other) noexcept {
    *this = std::move(other);
}

Canvas& Canvas::operator=(Canvas&& other) noexcept {
    if (this != &other) {
        target_ = std::move(other.target_);
        owned_ = std::move(other.owned_);
        data_ = std::exchange(other.data_, nullptr);
        width_ = std::exchange(other.width_, 0);
        height_ = std::exchange(other.height_, 0);
        stride_ = std::exchange(other.stride_, 0);
    }
    return *this;
}

bool Canvas::create(int width, int height) {
    reset();
    constexpr int kMaxSide = 1 << 14;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) {
        return false;
    }
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    owned_ = std::make_unique<std::uint32_t[]>(count);  // value-initialised: transparent
    data_ = reinterpret_cast<std::uint8_t*>(owned_.get());
    width_ = width;
    height_ = height;
    stride_ = width * 4;
    return true;
}

bool Canvas::wrap(void* data, int width, int height, int stride) {
    reset();
    if (data == nullptr || width <= 0 || height <= 0 || stride < width * 4 || stride % 4 != 0) {
        return false;
    }
    data_ = static_cast<std::uint8_t*>(data);
    width_ = width;
    height_ = height;
    stride_ = stride;
    return true;
}

void Canvas::reset() {
    target_.reset();
    owned_.reset();
    data_ = nullptr;
    width_ = height_ = stride_ = 0;
}

void Canvas::clear() {
    for (int y = 0; y < height_; ++y) {
        std::memset(data_ + static_cast<std::size_t>(y) * stride_, 0,
                    static_cast<std::size_t>(width_) * 4);
    }
}

std::uint32_t Canvas::pixel(int x, int y) const {
    if (data_ == nullptr || x < 0 || y < 0 || x >= width_ || y >= height_) {
        return 0;
    }
    std::uint32_t value;
    std::memcpy(&value,
                data_ + static_cast<std::size_t>(y) * stride_ + static_cast<std::size_t>(x) * 4,
                sizeof value);
    return value;
}

}  // namespace quelt::gfx

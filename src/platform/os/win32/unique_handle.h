#pragma once
// Owns one Win32 kernel handle and closes it when replaced or destroyed.
#include <windows.h>

#include <utility>

namespace quelt::win32 {

class UniqueHandle {
  public:
    UniqueHandle() = default;
    // Takes `handle`; INVALID_HANDLE_VALUE (what CreateFileW fails with) is stored as none.
    explicit UniqueHandle(HANDLE handle)
        : handle_(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
    ~UniqueHandle() { reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }

    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != nullptr; }

    void reset() {
        if (handle_ != nullptr) {
            CloseHandle(handle_);
            handle_ = nullptr;
        }
    }

  private:
    HANDLE handle_ = nullptr;
};

}  // namespace quelt::win32

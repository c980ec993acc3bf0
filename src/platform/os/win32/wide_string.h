#pragma once
// UTF-8 <-> UTF-16 at the Win32 boundary, shared by every Win32 backend.
#include <windows.h>

#include <string>

namespace quelt::win32 {

inline std::wstring widen(const std::string& text) {
    if (text.empty()) {
        return {};
    }
    const int count =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(count > 0 ? count : 0), L'\0');
    if (count > 0) {
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                            count);
    }
    return wide;
}

inline std::string narrow(const std::wstring& wide) {
    if (wide.empty()) {
        return {};
    }
    const int count = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                          nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(count > 0 ? count : 0), '\0');
    if (count > 0) {
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(),
                            count, nullptr, nullptr);
    }
    return text;
}

}  // namespace quelt::win32

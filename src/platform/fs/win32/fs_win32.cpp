// File utilities on Windows: GetModuleFileNameW, FindFirstFileW and the C runtime's wide fopen.
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "platform/fs/file_owner.h"
#include "platform/fs/fs.h"
#include "platform/os/win32/wide_string.h"

namespace quelt::fs {

namespace {

class FindHandle {
  public:
    explicit FindHandle(HANDLE handle) : handle_(handle) {}
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    ~FindHandle() {
        if (handle_ != INVALID_HANDLE_VALUE) {
            FindClose(handle_);
        }
    }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }

  private:
    HANDLE handle_;
};

}  // namespace

char separator() {
    return '\\';
}

std::string exeFolder() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            buffer.resize(length);
            break;
        }
        buffer.resize(buffer.size() * 2);  // long path: retry with room to spare
    }
    const std::size_t cut = buffer.find_last_of(L'\\');
    if (cut != std::wstring::npos) {
        buffer.resize(cut);
    }
    return win32::narrow(buffer);
}

void listFolder(const std::string& folder, const std::string& pattern,
                std::vector<std::string>& folders, std::vector<std::string>& files) {
    std::string lowered = pattern;
    std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const std::wstring search = win32::widen(nativePath(folder) + "\\" + lowered);
    WIN32_FIND_DATAW data{};
    FindHandle find(FindFirstFileW(search.c_str(), &data));
    if (!find.valid()) {
        return;
    }
    do {
        const std::wstring name = data.cFileName;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (name != L"." && name != L"..") {
                folders.push_back(win32::narrow(name));
            }
        } else if (data.dwFileAttributes & FILE_ATTRIBUTE_ARCHIVE) {
            files.push_back(win32::narrow(name));
        }
    } while (FindNextFileW(find.get(), &data));
}

bool fileExists(const std::string& path) {
    WIN32_FIND_DATAW data{};
    FindHandle find(FindFirstFileW(win32::widen(nativePath(path)).c_str(), &data));
    return find.valid();
}

long long fileSize(const std::string& path) {
    std::FILE* opened = nullptr;
    if (_wfopen_s(&opened, win32::widen(nativePath(path)).c_str(), L"rb") != 0 ||
        opened == nullptr) {
        return -1;
    }
    const FileOwner file(opened);
    if (_fseeki64(opened, 0, SEEK_END) != 0) {
        return -1;
    }
    return _ftelli64(opened);
}

}  // namespace quelt::fs

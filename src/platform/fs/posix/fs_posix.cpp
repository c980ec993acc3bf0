// File utilities on Linux: /proc/self/exe, readdir and stat.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

#include "base/unique_with.h"
#include "platform/fs/file_owner.h"
#include "platform/fs/fs.h"

namespace quelt::fs {

char separator() {
    return '/';
}

std::string exeFolder() {
    std::vector<char> buffer(4096);
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0) {
        return {};
    }
    std::string path(buffer.data(), static_cast<std::size_t>(length));
    const std::size_t cut = path.find_last_of('/');
    return cut == std::string::npos ? path : path.substr(0, cut);
}

void listFolder(const std::string& folder, const std::string& /*pattern*/,
                std::vector<std::string>& folders, std::vector<std::string>& files) {
    const std::string base = nativePath(folder);
    const UniqueWith<DIR, &closedir> dir(opendir(base.c_str()));
    if (dir == nullptr) {
        return;
    }
    while (const dirent* entry = readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        struct stat info {};
        // Links are followed; a dangling one is skipped.
        if (stat((base + "/" + name).c_str(), &info) != 0) {
            continue;
        }
        if (S_ISDIR(info.st_mode)) {
            folders.push_back(name);
        } else if (S_ISREG(info.st_mode)) {
            files.push_back(name);
        }
    }
}

bool fileExists(const std::string& path) {
    struct stat info {};
    return lstat(nativePath(path).c_str(), &info) == 0;
}

long long fileSize(const std::string& path) {
    const FileOwner file(std::fopen(nativePath(path).c_str(), "rb"));
    if (file == nullptr) {
        return -1;
    }
    struct stat info {};
    if (fstat(fileno(file.get()), &info) == 0 && S_ISREG(info.st_mode)) {
        return static_cast<long long>(info.st_size);
    }
    return -1;
}

}  // namespace quelt::fs

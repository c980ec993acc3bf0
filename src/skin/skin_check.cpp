#include "skin/skin_check.h"

#include <vector>

#include "platform/fs/fs.h"

namespace quelt {

namespace {

constexpr const char* kSubFolders[] = {"GUIFrameSplash", "GUIFrameMain"};

std::vector<std::string> FilesOf(const std::string& folder) {
    std::vector<std::string> folders;
    std::vector<std::string> files;
    fs::listFolder(folder, "*.*", folders, files);
    return files;
}

std::string SkinBase(const std::string& base) {
    return base + "\\GUISkin";
}

}  // namespace

std::string SkinRootOf(const std::string& base) {
    return SkinBase(base) + "\\";
}

bool checkSkinFileCount(const std::string& base) {
    std::size_t count = 0;
    for (const char* sub : kSubFolders) {
        count += FilesOf(SkinBase(base) + "\\" + sub).size();
    }
    return count == static_cast<std::size_t>(kSkinFileCount);
}

bool checkSkinTotalSize(const std::string& base) {
    long long total = 0;  // 64-bit: oversized files cannot wrap the sum back onto the target
    for (const char* sub : kSubFolders) {
        const std::string folder = SkinBase(base) + "\\" + sub;
        for (const std::string& name : FilesOf(folder)) {
            const long long size = fs::fileSize(folder + "\\" + name);
            if (size > 0) {
                total += size;
            }
        }
    }
    return total == kSkinTotalSize;
}

bool checkSkinFileCount() {
    return checkSkinFileCount(fs::exeFolder());
}

bool checkSkinTotalSize() {
    return checkSkinTotalSize(fs::exeFolder());
}

}  // namespace quelt

// What the file utilities share on every platform.
#include <algorithm>

#include "platform/fs/fs.h"

namespace quelt::fs {

std::string nativePath(std::string path) {
    std::replace_if(
        path.begin(), path.end(), [](char c) { return c == '/' || c == '\\'; }, separator());
    return path;
}

}  // namespace quelt::fs

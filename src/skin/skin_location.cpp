#include "skin/skin_location.h"

#include "platform/fs/fs.h"

namespace quelt {

namespace {

bool HoldsSkin(const std::string& folder) {
    return fs::fileExists(folder + fs::separator() + "GUISkin");
}

}  // namespace

std::string skinBaseFor(const std::string& exeFolder) {
    if (HoldsSkin(exeFolder)) {
        return exeFolder;
    }
    // exeFolder is absolute ("/usr/bin", "C:\Quelt"); its parent of "/bin" is "".
    const std::size_t cut = exeFolder.find_last_of("/\\");
    if (cut == std::string::npos) {
        return exeFolder;
    }
    const char sep = fs::separator();
    const std::string shared = exeFolder.substr(0, cut) + sep + "share" + sep + "quelt";
    return HoldsSkin(shared) ? shared : exeFolder;
}

}  // namespace quelt

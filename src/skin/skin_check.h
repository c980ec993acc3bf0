#pragma once
// Completeness check of the skin folder beside the executable: its two sub-folders must together
// hold exactly 29 plain files whose sizes add up to exactly 678252 bytes.
#include <string>

namespace quelt {

inline constexpr int kSkinFileCount = 29;
inline constexpr long long kSkinTotalSize = 678252;

// Folder of the skin files: `base` + "\GUISkin\" (trailing separator), to which relative skin
// names such as "GUIFrameMain\GUIFrameMainBK.kesp" are appended.
std::string SkinRootOf(const std::string& base);

// Rule 1: the plain files of GUISkin\GUIFrameSplash and GUISkin\GUIFrameMain under `base` number
// exactly 29 (sub-folders are neither counted nor visited).
bool checkSkinFileCount(const std::string& base);
// Rule 2: their sizes add up to exactly 678252 bytes; a file that cannot be opened adds 0.
bool checkSkinTotalSize(const std::string& base);

// The same rules beside the running executable.
bool checkSkinFileCount();
bool checkSkinTotalSize();

}  // namespace quelt

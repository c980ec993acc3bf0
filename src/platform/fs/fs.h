#pragma once
// Small file utilities shared by the skin check and the skin loaders. Paths are UTF-8 and may use
// either separator; `nativePath` turns them into the platform's form where a file is opened.
#include <string>
#include <vector>

namespace quelt::fs {

// The platform's path separator.
char separator();

// Replaces every '\' and '/' of a UTF-8 path by the platform's separator.
std::string nativePath(std::string path);

// Folder of the running executable, without a trailing separator.
std::string exeFolder();

// Lists one folder without recursion: sub-folders (except "." and "..") are appended to
// `folders`, plain files to `files`, anything else is skipped. Names are bare, in the order the
// file system returns them; the lists are appended to, never cleared. `pattern` is the Windows
// search pattern ("*.*" lists everything; it is lowered first); on Linux only "*" and "*.*" are
// supported, both meaning every entry. A folder that cannot be read leaves both lists unchanged.
void listFolder(const std::string& folder, const std::string& pattern,
                std::vector<std::string>& folders, std::vector<std::string>& files);

// True when an entry exists at exactly this path.
bool fileExists(const std::string& path);

// Size in bytes of the file, or -1 when it cannot be opened for reading.
long long fileSize(const std::string& path);

}  // namespace quelt::fs

#pragma once
// An open C stream, closed when it goes out of scope (both file backends measure sizes with one).
#include <cstdio>
#include <memory>

namespace quelt::fs {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileOwner = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace quelt::fs

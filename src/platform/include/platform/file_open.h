#pragma once
// Opening files by narrow path. Narrow paths are in the ANSI code page, like
// all of the program's narrow text; the file system wants UTF-8, so the path
// is converted first.

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace platform {

struct FileCloser {
    void operator()(std::FILE* file) const noexcept { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// The file-system (UTF-8) form of an ANSI path.
std::string FileSystemPath(std::string_view ansiPath);

// The ANSI form of a file-system (UTF-8) path; characters the code page lacks become '?'.
std::string AnsiPath(std::string_view fileSystemPath);

// fopen of an ANSI path; null when the file cannot be opened.
FileHandle OpenFile(std::string_view ansiPath, const char* mode);

} // namespace platform

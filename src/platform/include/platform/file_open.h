// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Opening files by narrow path. A narrow path holds the bytes the system gave
// for it (the executable's folder, an argument, an environment variable) and
// is handed back to the system unchanged: a path on this system is any bytes,
// usually UTF-8, and converting it through the ANSI code page would turn every
// character Windows-1251 lacks into '?' and name another file.
//
// Only where a path is shown inside a message, whose texts are ANSI, is it
// converted, with AnsiPath.

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace platform {

struct FileCloser {
    void operator()(std::FILE* file) const noexcept { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// The form in which the system is given a narrow path: its bytes unchanged.
std::string FileSystemPath(std::string_view path);

// A path as a message shows it, in the ANSI code page: the bytes read as
// UTF-8 (an invalid sequence becomes U+FFFD), and every character that
// Windows-1251 lacks becomes '?'. Never for opening a file.
std::string AnsiPath(std::string_view fileSystemPath);

// fopen of a narrow path; null when the file cannot be opened.
FileHandle OpenFile(std::string_view path, const char* mode);

} // namespace platform

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

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
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

// What tells that an open file has been written since it was last looked at:
// its size and its last-write time, to the nanosecond. A file replaced by
// rename keeps its state: the open file is still the old one.
struct OpenFileState {
    std::uint64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;
    bool operator==(const OpenFileState&) const = default;
};

// The state of an open file; nothing when it cannot be queried.
std::optional<OpenFileState> StateOf(std::FILE* file);

// Reads `length` bytes at `offset` of an open file, without moving its
// position; false unless all of them were read.
bool ReadAt(std::FILE* file, std::uint64_t offset, void* into, std::size_t length);

} // namespace platform

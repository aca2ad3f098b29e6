// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/file_open.h"

#include "platform/code_page.h"

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

namespace platform {

std::string FileSystemPath(std::string_view path) {
    return std::string(path);
}

std::string AnsiPath(std::string_view fileSystemPath) {
    return ToAnsi(FromUtf8(fileSystemPath));
}

FileHandle OpenFile(std::string_view path, const char* mode) {
    return FileHandle(std::fopen(std::string(path).c_str(), mode));
}

std::optional<OpenFileState> StateOf(std::FILE* file) {
    struct stat state {};
    if (::fstat(::fileno(file), &state) != 0) {
        return std::nullopt;
    }
    return OpenFileState{static_cast<std::uint64_t>(state.st_size), state.st_mtim.tv_sec,
                         state.st_mtim.tv_nsec};
}

bool ReadAt(std::FILE* file, std::uint64_t offset, void* into, std::size_t length) {
    auto* bytes = static_cast<unsigned char*>(into);
    std::size_t got = 0;
    while (got < length) {
        const ssize_t n =
            ::pread(::fileno(file), bytes + got, length - got, static_cast<off_t>(offset + got));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        got += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace platform

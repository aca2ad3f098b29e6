// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/file_replace.h"

#include "platform/file_open.h"

#include <unistd.h>

namespace platform {

bool FlushToDisk(std::FILE* file) {
    return std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0;
}

bool ReplaceFile(std::string_view from, std::string_view to) {
    return std::rename(FileSystemPath(from).c_str(), FileSystemPath(to).c_str()) == 0;
}

bool RemoveFile(std::string_view path) {
    return std::remove(FileSystemPath(path).c_str()) == 0;
}

} // namespace platform

// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/file_open.h"

#include "platform/code_page.h"

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

} // namespace platform

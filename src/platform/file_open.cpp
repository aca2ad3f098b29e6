#include "platform/file_open.h"

#include "platform/code_page.h"

namespace platform {

std::string FileSystemPath(std::string_view ansiPath) {
    return ToUtf8(FromAnsi(ansiPath));
}

std::string AnsiPath(std::string_view fileSystemPath) {
    return ToAnsi(FromUtf8(fileSystemPath));
}

FileHandle OpenFile(std::string_view ansiPath, const char* mode) {
    return FileHandle(std::fopen(FileSystemPath(ansiPath).c_str(), mode));
}

} // namespace platform

#include "platform/file_open.h"

#include "platform/code_page.h"

#include <vector>

namespace platform {

std::string FileSystemPath(std::string_view ansiPath) {
    std::vector<char16_t> wide(ansiPath.size());
    const std::size_t units =
        MultiByteToWide(kAnsiCodePage, ansiPath.data(), ansiPath.size(), wide.data(), wide.size());
    std::string utf8(units * 3, '\0');
    utf8.resize(WideToMultiByte(kUtf8CodePage, wide.data(), units, utf8.data(), utf8.size()));
    return utf8;
}

std::string AnsiPath(std::string_view fileSystemPath) {
    std::vector<char16_t> wide(fileSystemPath.size());
    const std::size_t units = MultiByteToWide(kUtf8CodePage, fileSystemPath.data(),
                                              fileSystemPath.size(), wide.data(), wide.size());
    std::string ansi(units, '\0');
    ansi.resize(WideToMultiByte(kAnsiCodePage, wide.data(), units, ansi.data(), ansi.size()));
    return ansi;
}

FileHandle OpenFile(std::string_view ansiPath, const char* mode) {
    return FileHandle(std::fopen(FileSystemPath(ansiPath).c_str(), mode));
}

} // namespace platform

#include "platform/file_replace.h"

#include "platform/file_open.h"

#include <unistd.h>

namespace platform {

bool FlushToDisk(std::FILE* file) {
    return std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0;
}

bool ReplaceFile(std::string_view ansiFrom, std::string_view ansiTo) {
    return std::rename(FileSystemPath(ansiFrom).c_str(), FileSystemPath(ansiTo).c_str()) == 0;
}

bool RemoveFile(std::string_view ansiPath) {
    return std::remove(FileSystemPath(ansiPath).c_str()) == 0;
}

} // namespace platform

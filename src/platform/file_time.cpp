#include "platform/file_time.h"

#include "platform/file_open.h"

#include <sys/stat.h>

namespace platform {

std::optional<std::uint64_t> LastWriteFileTime(std::string_view ansiPath) {
    struct stat info {};
    if (::stat(FileSystemPath(ansiPath).c_str(), &info) != 0) {
        return std::nullopt;
    }
    const std::int64_t seconds =
        static_cast<std::int64_t>(info.st_mtim.tv_sec) + kFileTimeEpochOffset;
    const std::int64_t ticks = seconds * 10'000'000 + info.st_mtim.tv_nsec / 100;
    return static_cast<std::uint64_t>(ticks);
}

} // namespace platform

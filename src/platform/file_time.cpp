// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/file_time.h"

#include "platform/file_open.h"

#include <sys/stat.h>

namespace platform {

std::uint64_t FileTimeOf(std::int64_t unixSeconds, std::int64_t nanoseconds) {
    // Unsigned throughout: a modification time far in the future (or past)
    // must not make the multiplication overflow a signed value.
    const std::uint64_t seconds =
        static_cast<std::uint64_t>(unixSeconds) + static_cast<std::uint64_t>(kFileTimeEpochOffset);
    return seconds * 10'000'000u + static_cast<std::uint64_t>(nanoseconds / 100);
}

std::optional<std::uint64_t> LastWriteFileTime(std::string_view path) {
    struct stat info {};
    if (::stat(FileSystemPath(path).c_str(), &info) != 0) {
        return std::nullopt;
    }
    return FileTimeOf(info.st_mtim.tv_sec, info.st_mtim.tv_nsec);
}

} // namespace platform

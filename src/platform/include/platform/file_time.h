#pragma once
// A file's last-write time in the form the history file keeps it:
// 100-nanosecond intervals since 1601-01-01 UTC.

#include <cstdint>
#include <optional>
#include <string_view>

namespace platform {

// Seconds between 1601-01-01 and 1970-01-01.
inline constexpr std::int64_t kFileTimeEpochOffset = 11644473600;

// The last-write time of the file at an ANSI path, or nothing when the file
// cannot be queried.
std::optional<std::uint64_t> LastWriteFileTime(std::string_view ansiPath);

} // namespace platform

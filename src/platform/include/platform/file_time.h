// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A file's last-write time in the form the history file keeps it:
// 100-nanosecond intervals since 1601-01-01 UTC.

#include <cstdint>
#include <optional>
#include <string_view>

namespace platform {

// Seconds between 1601-01-01 and 1970-01-01.
inline constexpr std::int64_t kFileTimeEpochOffset = 11644473600;

// The file time of a moment given as seconds and nanoseconds since 1970,
// computed modulo 2^64: a time too far from now to fit wraps instead of
// overflowing, and its low 32 bits, all the history keeps, stay well defined.
std::uint64_t FileTimeOf(std::int64_t unixSeconds, std::int64_t nanoseconds);

// The last-write time of the file at a narrow path, or nothing when the file
// cannot be queried.
std::optional<std::uint64_t> LastWriteFileTime(std::string_view path);

} // namespace platform

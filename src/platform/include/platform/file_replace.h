// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Replacing a file whole: a new version is written beside it, made durable and
// renamed over the old one, so that a reader finds either the old file or the
// new one, never a mixture.

#include <cstdio>
#include <string_view>

namespace platform {

// Flushes the stream's buffers and has the system write the file to the disk.
bool FlushToDisk(std::FILE* file);

// Renames a file at a narrow path to another, replacing the target in one step.
bool ReplaceFile(std::string_view from, std::string_view to);

// Removes the file at a narrow path; false when there was none or it could not go.
bool RemoveFile(std::string_view path);

} // namespace platform

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Shared by the fuzz targets: a property check that stops the run, and a
// scratch file per process for readers that take a path.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace fuzz {

inline void Require(bool property) {
    if (!property) {
        std::abort();
    }
}

// A path in the temporary folder unique to this process and purpose.
inline std::string ScratchPath(const char* purpose) {
    return "/dev/shm/kelimbo-fuzz-" + std::to_string(::getpid()) + "-" + purpose;
}

inline void WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    Require(file != nullptr);
    Require(std::fwrite(data, 1, size, file) == size || size == 0);
    std::fclose(file);
}

} // namespace fuzz

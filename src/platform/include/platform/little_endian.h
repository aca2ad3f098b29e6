// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Unsigned little-endian integers in byte buffers, the byte order of every
// file the program reads and writes, whatever the machine's own order.

#include <cstdint>

namespace platform {

constexpr void PutLe16(unsigned char* out, std::uint16_t value) {
    out[0] = static_cast<unsigned char>(value);
    out[1] = static_cast<unsigned char>(value >> 8);
}

constexpr std::uint16_t GetLe16(const unsigned char* in) {
    return static_cast<std::uint16_t>(in[0] | in[1] << 8);
}

constexpr void PutLe32(unsigned char* out, std::uint32_t value) {
    for (int k = 0; k < 4; ++k) {
        out[k] = static_cast<unsigned char>(value >> (8 * k));
    }
}

constexpr std::uint32_t GetLe32(const unsigned char* in) {
    return std::uint32_t{in[0]} | std::uint32_t{in[1]} << 8 | std::uint32_t{in[2]} << 16 |
           std::uint32_t{in[3]} << 24;
}

} // namespace platform

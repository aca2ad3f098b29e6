// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Turns a UTF-8 string literal into Windows-1251 bytes at compile time, so that
// the program's narrow texts (message formats, context words) stay readable in
// the source. A character that the code page lacks fails the compilation.

#include "platform/cp1251.h"

#include <cstddef>

namespace platform {

template <std::size_t N> struct AnsiLiteral {
    char bytes[N]{}; // NUL-padded: Windows-1251 is never longer than UTF-8
    constexpr const char* c_str() const { return bytes; }
};

template <std::size_t N> consteval AnsiLiteral<N> Ansi(const char8_t (&utf8)[N]) {
    AnsiLiteral<N> out;
    std::size_t w = 0;
    for (std::size_t i = 0; i + 1 < N;) {
        const unsigned lead = utf8[i];
        char32_t c = 0;
        std::size_t extra = 0;
        if (lead < 0x80) {
            c = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            c = lead & 0x1F;
            extra = 1;
        } else if ((lead & 0xF0) == 0xE0) {
            c = lead & 0x0F;
            extra = 2;
        } else {
            throw "character outside Windows-1251";
        }
        for (std::size_t k = 1; k <= extra; ++k) {
            c = (c << 6) | (static_cast<unsigned>(utf8[i + k]) & 0x3F);
        }
        i += extra + 1;
        const int byte = Cp1251FromUnicode(c);
        if (byte < 0) {
            throw "character outside Windows-1251";
        }
        out.bytes[w++] = static_cast<char>(static_cast<unsigned char>(byte));
    }
    return out;
}

} // namespace platform

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Walking UTF-8 text by code point.

#include <cstddef>
#include <string>
#include <string_view>

// The code point at `pos`, advancing `pos` past it. A malformed or truncated
// sequence, an encoded surrogate or an overlong form reads as U+FFFD and
// advances by one byte.
char32_t NextCodePoint(std::string_view text, std::size_t& pos);

// Appends the UTF-8 form of a code point (U+FFFD for a surrogate or one past
// U+10FFFF). Inline: the readers call it for every character they convert.
inline void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
        return;
    }
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        c = 0xFFFD;
    }
    if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

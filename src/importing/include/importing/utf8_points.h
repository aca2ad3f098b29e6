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
// U+10FFFF).
void AppendUtf8(std::string& out, char32_t c);

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Conversions between a code page and UTF-16. The two buffer functions take
// the source length explicitly and a destination of fixed capacity, and return
// the count of units written, or 0 when the destination is too small (the
// destination then holds nothing usable). The string functions below them are
// the same conversions for whole strings, sized so that they never fall short.

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// The ANSI code page: Windows-1251 on this system, always.
inline constexpr unsigned kAnsiCodePage = 0;
inline constexpr unsigned kUtf8CodePage = 65001;

// Bytes of `codePage` to UTF-16. Windows-1251 maps every byte (0x98 to U+0098);
// UTF-8 turns each invalid or truncated sequence into U+FFFD and characters
// beyond U+FFFF into surrogate pairs.
std::size_t MultiByteToWide(unsigned codePage, const char* src, std::size_t srcLen, char16_t* dst,
                            std::size_t dstCap);

// UTF-16 to bytes of `codePage`. Towards Windows-1251 a character the code page
// lacks becomes '?'; towards UTF-8 a lone surrogate becomes U+FFFD.
std::size_t WideToMultiByte(unsigned codePage, const char16_t* src, std::size_t srcLen, char* dst,
                            std::size_t dstCap);

// Whole strings: UTF-8 and ANSI (Windows-1251) bytes to UTF-16 and back, with
// the same replacements as above.
std::u16string FromUtf8(std::string_view utf8);
std::string ToUtf8(std::u16string_view wide);
std::u16string FromAnsi(std::string_view ansi);
std::string ToAnsi(std::u16string_view wide);

// Appends `utf8` to `out` as ToUtf8(FromUtf8(utf8)) would give it, without the
// UTF-16 step: well-formed sequences as they are, each invalid or truncated
// one as U+FFFD.
void AppendCleanUtf8(std::string& out, std::string_view utf8);

// The offset of the first byte that does not belong to a well-formed UTF-8
// sequence (a stray continuation byte, a truncated or overlong sequence, an
// encoded surrogate, a code point past U+10FFFF), or npos when there is none.
// A real U+FFFD, written EF BF BD, is well-formed like any other character.
std::size_t FirstInvalidUtf8(std::string_view bytes);

} // namespace platform

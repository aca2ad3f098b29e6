// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Esperanto letters between the x-system form ("cx", "Ux") kept in 8-bit text
// and the accented form (ĉ, Ŭ) shown on screen.

#include <cstddef>
#include <string>
#include <string_view>

// Turns every base letter followed by x or X into its accented letter. Each
// given position (an index between characters, 0..length) is re-mapped into the
// result; a position past the end is left as it is.
std::u16string x_to_accented(std::u16string_view text, std::size_t* first = nullptr,
                             std::size_t* second = nullptr);

// The same conversion in place, over the first n units of a buffer (the result
// is never longer than the text). Returns the length of the result.
std::size_t x_to_accented_in_place(char16_t* text, std::size_t n, std::size_t* first = nullptr,
                                   std::size_t* second = nullptr);

// Appends Windows-1251 text in x-system form to `out` as UTF-8 with accented
// letters, leaving out the ASCII characters of `dropped` once the letters are
// joined: what ToUtf8(strip_chars(x_to_accented(FromAnsi(ansi)), dropped))
// gives, without the UTF-16 strings between.
void append_x_ansi_as_utf8(std::string& out, std::string_view ansi, std::string_view dropped = {});

// Writes each accented letter as its base letter and a lower-case x.
std::u16string accented_to_x(std::u16string_view text);

// The same conversion into a buffer with room for twice the text's length.
// Returns the number of units written.
std::size_t accented_to_x_into(std::u16string_view text, char16_t* out);

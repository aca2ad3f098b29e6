// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Between the search box's UTF-16 text and the index's 8-bit keys (Windows-1251,
// Esperanto letters in x-system form).

#include <cstddef>
#include <string>
#include <string_view>

// The search box holds at most this many UTF-16 units; whatever is typed or
// set beyond them is not read.
inline constexpr std::size_t kMaxBoxUnits = 255;

// The 8-bit query for the box's text; empty when it needs more than 256 bytes.
std::string to_index_key(std::u16string_view boxText);

// The list line for a headword key; empty when it needs more than 256 units.
std::u16string from_index_key(std::string_view key);

// The same line in UTF-8, appended to `out`: ToUtf8(from_index_key(key))
// without the strings between, for printing many lines.
void append_index_key_utf8(std::string& out, std::string_view key);

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Russian words between the index's code page and the UTF-8 that the spelling
// dictionary and the analyser speak.

#include <string>
#include <string_view>
#include <vector>

namespace forms {

// Windows-1251 to UTF-8.
std::string Utf8OfAnsi(std::string_view ansi);

// UTF-8 to Windows-1251; empty when a character has no place in the code page.
std::string AnsiOfUtf8(std::string_view utf8);

// Appends a non-empty word to `words` unless it is there already.
void AppendOnce(std::vector<std::string>& words, std::string word);

} // namespace forms

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Removes every occurrence of a set of characters from a string.

#include <string>
#include <string_view>

std::u16string strip_chars(std::u16string_view s, const char16_t* set);
std::string strip_chars(std::string_view s, const char* set);

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The order of the Russian index, on Windows-1251 bytes: ASCII in byte order
// (Latin letters keep their case), then the other bytes 0x80-0xBF in byte
// order, then the Cyrillic letters а…я with upper and lower case equal and
// Ё/ё between Е/е and Ж/ж.

#include "index/pro_less.h"

#include <string_view>

// True when byte x comes strictly before byte y.
bool ru_char_less(unsigned char x, unsigned char y);

struct my_less final : pro_less {
    // Byte by byte with ru_char_less; the shorter of two strings that compare
    // equal comes first.
    bool less(std::string_view a, std::string_view b) const override;
    int compare(std::string_view a, std::string_view b) const override;
    bool long_enough(std::string_view, std::string_view) const override { return true; }
};

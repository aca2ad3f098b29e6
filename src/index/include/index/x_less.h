// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The order of the Esperanto index, on x-system spelling. Hyphens, double
// quotes and full stops are ignored; Latin capitals compare as small letters;
// bytes from 0x80 on come before ASCII; and a letter followed by a small 'x'
// (an accented letter) comes after the same letter followed by anything else:
// 'c' < 'cedi' < 'cz…' < 'cxapelo' < 'd…'.

#include "index/pro_less.h"

#include <cstddef>
#include <string_view>

struct x_less final : pro_less {
    // The ignored punctuation.
    static constexpr bool Ignored(char c) { return c == '-' || c == '"' || c == '.'; }
    // Length of s without the ignored punctuation.
    static std::size_t StrippedLength(std::string_view s);

    // Strings that compare equal: the shorter without the ignored punctuation
    // first, then the shorter as written.
    bool less(std::string_view a, std::string_view b) const override;
    int compare(std::string_view a, std::string_view b) const override;
    // The query without the ignored punctuation is no longer than the headword
    // without it: 'mal-' does not begin 'male…' words.
    bool long_enough(std::string_view query, std::string_view headword) const override;
    // Equal without the ignored punctuation: 'mal-' and 'Mal' are the same.
    bool same(std::string_view a, std::string_view b) const override;
};

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// One article of a dictionary text file: the byte range [start, end).

#include <cstdint>

struct ArticleRef {
    std::uint32_t start = 0; // the article's first byte
    std::uint32_t end = 0;   // just past its last byte

    friend bool operator==(const ArticleRef&, const ArticleRef&) = default;
};

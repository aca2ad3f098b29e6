// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The result of a prefix lookup: the headwords [first, last). Nothing found is
// always [0, 0).

#include <cstdint>

struct HeadwordRange {
    std::uint32_t first = 0;
    std::uint32_t last = 0;

    friend bool operator==(const HeadwordRange&, const HeadwordRange&) = default;
};

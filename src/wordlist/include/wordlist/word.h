// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// One kept word of the learner's word list.

#include <cstddef>
#include <cstdint>
#include <string>

namespace wordlist {

// A word is longer than the search box holds: never kept.
inline constexpr std::size_t kMaxWordUnits = 255;

struct Word {
    std::string text;          // UTF-8, the headword as the reader names it
    bool esperanto = false;    // an Esperanto headword (the Esperanto–Russian direction)
    std::int64_t added = 0;    // when it was kept: seconds since 1970-01-01 UTC
    std::uint32_t lookups = 0; // how many times the reader opened it since

    friend bool operator==(const Word&, const Word&) = default;
};

// Seconds since 1970-01-01 UTC, now.
std::int64_t NowUtc();

} // namespace wordlist

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Writes a benchmark dictionary's Russian direction as a StarDict dictionary
// (.ifo, .idx, .dict), for the side-by-side run with sdcv. The .dict file is
// the UTF-8 text file itself; each headword's entry is the span from its first
// article's start to its last article's end (its articles are consecutive).

#include "bench_dictionary.h"

#include <cstdint>
#include <string>
#include <vector>

namespace bench_data {

// A StarDict word and the span of its data in the .dict file.
struct StarDictEntry {
    std::string word; // UTF-8
    std::uint32_t offset = 0;
    std::uint32_t size = 0;
};

// Writes `base`.idx, the entries in StarDict's order (ASCII letters without
// case first, then plain bytes), and `base`.ifo (sametypesequence=m) for a
// .dict file that the caller writes. Throws std::runtime_error.
void WriteStarDictIndex(std::vector<StarDictEntry> entries, const std::string& base,
                        const std::string& bookname);

// Writes `folder`/`name`.ifo, .idx and .dict. Returns the word count.
std::size_t WriteStarDict(const DictionaryFolder& dictionary, const std::string& folder,
                          const std::string& name);

} // namespace bench_data

#pragma once
// Writes a benchmark dictionary's Russian direction as a StarDict dictionary
// (.ifo, .idx, .dict), for the side-by-side run with sdcv. The .dict file is
// the UTF-8 text file itself; each headword's entry is the span from its first
// article's start to its last article's end (its articles are consecutive).

#include "bench_dictionary.h"

#include <string>

namespace bench_data {

// Writes `folder`/`name`.ifo, .idx and .dict. Returns the word count.
std::size_t WriteStarDict(const DictionaryFolder& dictionary, const std::string& folder,
                          const std::string& name);

} // namespace bench_data

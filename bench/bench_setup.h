// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What the benchmarks share: the two sizes, the generated dictionaries, their
// loaded indexes (loaded once per process), and the queries typed into them.

#include "bench_dictionary.h"
#include "index/language_indexes.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace bench_setup {

using bench_data::Language;

inline constexpr std::int64_t kSmall = 100'000;
inline constexpr std::int64_t kLarge = 1'000'000;

// The sizes the benchmarks run at: kSmall and kLarge, or only
// $KELIMBO_BENCH_HEADWORDS when it is set (the test command's quick run of
// every benchmark on a small generated dictionary).
std::vector<std::int64_t> Sizes();
// The first of them, for the benchmarks that need one dictionary only.
std::int64_t SmallSize();

// Where generated dictionaries are kept: $KELIMBO_BENCH_DATA, else the build
// folder's bench-data.
std::string CacheRoot();

const bench_data::DictionaryFolder& Folder(std::size_t count);
const cIndex& LoadedIndex(Language language, std::size_t count);

// Prefixes of 1-8 characters (x-system pairs count as one) of randomly drawn
// headwords, every eighth one made into a query that no headword begins with.
// 8-bit, as the index holds them.
std::vector<std::string> RandomPrefixes(Language language, std::size_t count, std::size_t n);

// "ru"/"eo" and the size, for the benchmark's label.
std::string Label(Language language, std::size_t count);

} // namespace bench_setup

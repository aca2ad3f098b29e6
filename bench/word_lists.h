// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The real words the benchmark dictionaries grow from: Debian's Esperanto word
// list and the stems of Debian's Russian spelling dictionary, each read once,
// cleaned, de-duplicated and put into a fixed pseudo-random order.

#include <string>
#include <vector>

namespace bench_data {

inline constexpr const char* kEsperantoWordList = "/usr/share/dict/esperanto";
inline constexpr const char* kRussianStemList = "/usr/share/hunspell/ru_RU.dic";

// Esperanto words (UTF-8 in the file) in x-system spelling, 8-bit.
std::vector<std::string> EsperantoWords(const char* path = kEsperantoWordList);
// Russian stems (UTF-8 in the file, one "stem/flags" a line) in Windows-1251.
std::vector<std::string> RussianWords(const char* path = kRussianStemList);

// Shuffles with a seeded Mersenne twister and a hand-written Fisher-Yates, so
// the order is the same with every standard library.
void Shuffle(std::vector<std::string>& words, unsigned seed);

} // namespace bench_data

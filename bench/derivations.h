// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Grows a list of real words into any number of distinct headwords by the
// ways a dictionary's headwords grow: prefixed and suffixed forms, compounds,
// capitalised and hyphenated variants.

#include "dictbuild/dictionary_direction.h"

#include <cstddef>
#include <string>
#include <vector>

namespace bench_data {

using ::Language;

// `count` distinct 8-bit headwords (Windows-1251, Esperanto in x-system form).
// The real words come first, then one kind of derivation after another over
// all words, so every size holds the same mix of initial letters. The result
// depends on nothing but the words and the count.
std::vector<std::string> DeriveHeadwords(Language language, const std::vector<std::string>& words,
                                         std::size_t count);

} // namespace bench_data

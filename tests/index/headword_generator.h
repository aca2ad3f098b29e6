// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Realistic headwords and queries for the property tests, from a fixed seed.
//
// Russian: Windows-1251 words with Ё/ё, capitals, all-capital abbreviations,
// Latin words, digits and phrases. Esperanto: x-system words with capitals
// ("Cxina", "CXAPELO"), affixes and compounds with hyphens, abbreviations with
// full stops and quoted words. Both include families of words that extend one
// another, so that prefixes are shared the way they are in a dictionary.

#include "reference_order.h"

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace generated {

std::vector<std::string> Headwords(reference::Language language, std::size_t count,
                                   std::uint32_t seed);

// Queries without ignored punctuation: prefixes of the headwords (in their own
// case, in other cases, punctuation removed) and random strings.
std::vector<std::string> Queries(reference::Language language,
                                 const std::vector<std::string>& headwords, std::size_t count,
                                 std::uint32_t seed);

// Queries that do hold ignored punctuation: prefixes of headwords as written,
// and strings of punctuation alone.
std::vector<std::string> PunctuatedQueries(const std::vector<std::string>& headwords,
                                           std::size_t count, std::uint32_t seed);

// A random string of up to maxLength characters from the alphabet.
std::string RandomString(std::mt19937& random, const std::string& alphabet, std::size_t maxLength);

} // namespace generated

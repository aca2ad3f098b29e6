// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The base forms of an inflected Esperanto word, by the rules of the language
// alone: no dictionary is consulted here.

#include "forms/base_form.h"

#include <string>
#include <string_view>
#include <vector>

namespace forms {

// The base forms of a one-word query in index form (x-system spelling), most
// likely first, in four tiers:
//   0  -jn, -j, -n taken off (hundojn → hundo, then hundoj; kiujn → kiu);
//   1  a verb form made -i (manĝas → manĝi), a participle made the verb in -i
//      (manĝantaj → manĝi);
//   2  the root with the other word-class endings, in the order -o -a -e -i
//      (hunda → hundo);
//   3  the roots left when the common prefixes and suffixes are split off
//      (fewest first), each with an ending, found only as whole headwords, and
//      the affixes' own headwords ("mal-", "-ul-") beside a root that was found.
// Pronouns, correlatives and numerals only lose -j and -n, and find only the
// headwords equal to them, as does any base form of fewer than three letters;
// none has fewer than two. Keys are in small letters; the index compares them
// without regard to case.
std::vector<BaseForm> EsperantoBaseForms(std::string_view query);

// The one base form a word in small letters is filed under in a full-text
// index: a verb form's infinitive (sxatas → sxati), else the word without its
// -j/-n ending (hundojn → hundo), else the word itself. Word-class changes
// and affixes are left alone (hunda stays hunda). It is the first tier-1 verb
// form, else the first tier-0 form, that EsperantoBaseForms gives, worked out
// without the rest: the index asks it of every distinct word of a dictionary.
std::string EsperantoIndexBase(std::string_view word);

// Whether a word in small letters and x-system spelling is one of the closed
// words above (li, mia, kiu, tiel, neniam, unu …).
bool IsEsperantoClosedWord(std::string_view word);

} // namespace forms

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The analysis of an Esperanto word that is no headword and has no base form
// that is one: its split into the dictionary's roots and affixes
// (hundokuirejo → hundo + kuiri + -ej-), each part a headword.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace forms {

// Whether a key in index form (x-system spelling, small letters) is a
// headword of the dictionary: the analysis asks it of every candidate part.
using IsHeadword = std::function<bool(std::string_view key)>;

struct WordPart {
    std::string key; // the part's headword: "hundo", "kuiri", "-ej-", "mal-"
    bool affix = false;

    friend bool operator==(const WordPart&, const WordPart&) = default;
};

// The parts of a one-word query in index form, in the word's order: prefixes,
// then roots (each with the ending under which it is a headword, -o -a -i -e
// in that order), a root's suffixes after it. A prefix stands only before the
// first root, a suffix only after a root; two roots may be joined by -o-. The
// split with the fewest parts wins, then the one whose roots are longest
// first. Empty when the word is one part or has no split whose every part is
// a headword. The headword test is asked at most a few times per pair of
// letter positions, so a long nonsense word costs little.
std::vector<WordPart> AnalyseEsperantoWord(std::string_view query, const IsHeadword& isHeadword);

} // namespace forms

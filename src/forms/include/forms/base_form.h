// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A base form of a query that found no headword: a key in the index's own form
// (Windows-1251, Esperanto letters in x-system spelling) that the offered lines
// are looked up with, and the rule that made it.

#include <cstdint>
#include <string>

namespace forms {

enum class Rule : std::uint8_t {
    Ending,        // Esperanto: -jn, -j or -n taken off
    Verb,          // Esperanto: -as -is -os -us -u made -i
    Participle,    // Esperanto: -ant- -int- -ont- -at- -it- -ot- with -a/-o/-e made -i
    WordClass,     // Esperanto: the root with another of -o -a -e -i
    Affix,         // Esperanto: the root left when affixes are split off, with an ending
    AffixHeadword, // Esperanto: an affix's own headword ("mal-", "-ej-")
    Part,          // Esperanto: a part of the word's analysis (hundo + kuiri + -ej-)
    Pronoun,       // Esperanto: a possessive's pronoun (via → vi)
    Numeral,       // Esperanto: a numeral of a number written together (dudek → du, dek)
    Stem,          // Russian: a stem the spelling dictionary gives
    Lemma,         // Russian: a lemma the morphological analyser gives
    Yo,            // Russian: the word with one е read as ё
};

struct BaseForm {
    std::string key;
    Rule rule = Rule::Ending;
    // Base forms of a later tier are looked up only when no base form of an
    // earlier tier found a headword.
    std::uint8_t tier = 0;
    // Finds only the headwords equal to it, not those it begins.
    bool exact = false;
    // For a companion: offered only when a base form of one of these groups
    // found a headword. For any other base form: the groups it belongs to.
    std::uint32_t groups = 0;
    bool companion = false;
};

} // namespace forms

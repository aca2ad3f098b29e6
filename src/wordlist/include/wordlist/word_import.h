// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Filling the word list from a plain list of words: one a line, UTF-8 (a byte
// order mark and CR LF line ends are tolerated), Esperanto letters in x-system
// form ("sxati") or accented. Each line is looked up as the search box would
// look it up, its language choosing the direction; a line that is a headword
// of some dictionary keeps that headword (as the dictionary writes it). A
// line that is no headword is not kept, only reported: the list holds words
// whose articles open, and a word that opens nothing is usually a typo or an
// inflected form the user wants to correct. Blank lines are passed over.

#include "wordlist/word.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class LookupCore;

namespace wordlist {

class WordList;

struct ImportReport {
    std::size_t added = 0;               // words newly kept
    std::size_t alreadyKept = 0;         // headwords the list had
    std::vector<std::string> unknown;    // lines no dictionary has, UTF-8, in file order
    std::vector<std::size_t> unreadable; // line numbers (from 1) not UTF-8 or too long
};

// Adds the known words of `bytes` to `list` (not saved: the caller saves),
// kept at `added`. Raises cExcMsg as the core does when an index cannot be read.
ImportReport ImportWords(std::string_view bytes, WordList& list, LookupCore& core,
                         std::int64_t added = NowUtc());

} // namespace wordlist

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A kept word's translation, through the lookup core: the same articles the
// reader shows for the word's headword.

#include "wordlist/word.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

class LookupCore;
struct ListResult;

namespace wordlist {

// The line of a list (LookupCore::List of the word's text) that opens the
// word: the line written exactly as the word, otherwise the first that the
// language's ordering takes for the same headword (case, the Esperanto
// index's ignored punctuation: "kapro" finds "Kapro", "СОБАКА" "собака").
// Nothing when the list has no such line.
std::optional<std::size_t> HeadwordLine(const ListResult& list, std::u16string_view text);

// The reader's whole text for the word's headword, UTF-8, lines ended by
// CR LF (under each dictionary's name when several have it); nothing when no
// dictionary has the headword any more (the caller marks the word missing).
// Raises cExcMsg as LookupCore::List does when an index cannot be read.
std::optional<std::string> WordArticle(LookupCore& core, const Word& word);

// The first line of an article's text that translates: not a dictionary's
// name heading ("— NAME —"), not blank, and without the headword that opens
// it, compared without the morpheme slashes and stress marks the articles
// write ("hund/o собака, пёс" for "hundo" gives "собака, пёс"; an article
// whose first line is only the headword gives its next line; a line of
// labels only, "зоол." or "разг. перен.", is passed over), its control
// characters (a tab, a stray CR) as blanks. Empty when there is none.
std::string FirstTranslationLine(std::string_view article, std::string_view headword);

// Both together: the first line of the word's translation, or nothing when no
// dictionary has its headword.
std::optional<std::string> WordFirstLine(LookupCore& core, const Word& word);

} // namespace wordlist

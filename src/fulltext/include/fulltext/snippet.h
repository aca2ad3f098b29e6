// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The line a result shows: a short piece of the article around its first
// match, on one line, with the matched words marked.

#include "fulltext/words.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace fulltext {

// About this many UTF-16 units of text; a word is never cut.
inline constexpr std::size_t kSnippetUnits = 100;
// Of them, at most this many before the first match.
inline constexpr std::size_t kSnippetLead = 30;

struct Snippet {
    std::u16string text;
    std::vector<std::pair<std::size_t, std::size_t>> marks; // [start, end) in `text`
};

// The snippet of `article` for the matched words (in order, as MatchedWords
// gives them): line ends and tabs become spaces, runs of spaces one, and an
// omission at either end is shown by "…". No match: the article's beginning.
Snippet MakeSnippet(std::u16string_view article, const std::vector<Word>& matched);

} // namespace fulltext

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A full-text query as typed: words, and phrases in double quotes. Every
// other character only separates words, so nothing typed is ever an
// operator; a quote left open runs to the end of the query.

#include "fulltext/index_file.h"
#include "fulltext/words.h"

#include <string>
#include <string_view>
#include <unordered_set>

namespace fulltext {

// The most words a query may hold; a longer one is refused with a message.
inline constexpr std::size_t kMaxQueryWords = 32;

struct Query {
    Phrases phrases;                      // base keys; a lone word is a phrase of one
    std::unordered_set<std::string> keys; // every base key, for marking matches
    std::string error; // UTF-8: why the query cannot be searched; empty when it can
};

Query ParseQuery(std::u16string_view typed, BaseKeys& keys);

// The words of `text` whose base keys the query holds, in order, as ranges
// [start, end) of UTF-16 units.
std::vector<Word> MatchedWords(std::u16string_view text, const Query& query, BaseKeys& keys);

// The same for many texts at once: the base forms of all their words worked
// out together (one pass of the Russian analyser for the words it has not
// seen), as a page of results needs them.
std::vector<std::vector<Word>> MatchedWords(const std::vector<std::u16string>& texts,
                                            const Query& query, BaseKeys& keys);

} // namespace fulltext

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The text file of a benchmark dictionary: a pool of articles of realistic
// size, written from the same real words, in the file's own encoding (UTF-8
// with accented Esperanto letters for the Russian direction, Windows-1251 with
// x-system spelling for the Esperanto direction). Headwords point at runs of
// consecutive articles.

#include "derivations.h"
#include "index/article_ref.h"

#include <cstddef>
#include <string>
#include <vector>

namespace bench_data {

inline constexpr std::size_t kPoolArticles = 16384;
// Every eighth article is a long one, close to the 2048-byte limit.
inline constexpr std::size_t kLongArticleEvery = 8;

struct ArticlePool {
    std::string text;                 // the file's bytes
    std::vector<ArticleRef> articles; // each article's span, in file order
};

// `headwordLanguage` is the language of the dictionary's headwords; the
// translations come from the other list.
ArticlePool BuildArticlePool(Language headwordLanguage, const std::vector<std::string>& ruWords,
                             const std::vector<std::string>& eoWords);

} // namespace bench_data

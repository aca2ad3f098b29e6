// SPDX-License-Identifier: GPL-2.0-or-later
#include "fulltext/snippet.h"

#include <algorithm>

namespace fulltext {
namespace {

bool IsLetter(char16_t c) {
    return detail::Fold(c).letter;
}

bool IsSpace(char16_t c) {
    return c == u' ' || c == u'\r' || c == u'\n' || c == u'\t' || c == u'\f' || c == u'\v' ||
           c == u'\u00A0';
}

constexpr char16_t kEllipsis = u'\u2026';

} // namespace

Snippet MakeSnippet(std::u16string_view article, const std::vector<Word>& matched) {
    const std::size_t size = article.size();
    std::size_t first = 0;
    std::size_t firstEnd = 0;
    if (!matched.empty()) {
        first = std::min(matched.front().start, size);
        firstEnd = std::min(std::max(matched.front().end, first), size);
    }
    // From a word's beginning shortly before the match to a word's end about
    // kSnippetUnits later, never inside the match.
    std::size_t from = first > kSnippetLead ? first - kSnippetLead : 0;
    while (from > 0 && from < first && IsLetter(article[from - 1])) {
        ++from;
    }
    std::size_t to = std::min(size, std::max(from + kSnippetUnits, firstEnd));
    while (to < size && to > firstEnd && IsLetter(article[to])) {
        --to;
    }

    Snippet snippet;
    std::u16string& out = snippet.text;
    if (from > 0) {
        out += kEllipsis;
    }
    // Where each unit of [from, to] lands in `out`.
    std::vector<std::size_t> at(to - from + 1, 0);
    for (std::size_t i = from; i < to; ++i) {
        at[i - from] = out.size();
        const char16_t c = article[i];
        if (IsSpace(c) || c < 0x20) {
            if (!out.empty() && out.back() != u' ' && !(out.size() == 1 && from > 0)) {
                out += u' ';
            }
            continue;
        }
        out += c;
    }
    while (!out.empty() && out.back() == u' ') {
        out.pop_back();
    }
    at[to - from] = out.size();
    if (to < size) {
        out += kEllipsis;
    }
    for (const Word& word : matched) {
        if (word.start < from || word.end > to || word.start >= word.end) {
            continue;
        }
        const std::size_t start = at[word.start - from];
        const std::size_t end = std::min(at[word.end - from], out.size());
        if (start < end) {
            snippet.marks.emplace_back(start, end);
        }
    }
    return snippet;
}

} // namespace fulltext

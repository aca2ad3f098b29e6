// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Full-text search over the articles of the lookup core's dictionaries: the
// words of a query found in the article texts, through each direction's
// full-text index (written beside the direction's files at import). The
// search reads nothing until its first query; each direction's index is
// opened then, checked against its dictionary text, and kept open.
//
// One object serves the whole program: the core owns it (LookupCore::FullText).
// Its calls are safe from several threads: a search runs under the object's
// own lock, so a second one waits for the first (cancel the first to make
// that short); Rebuild writes the new index without the lock and takes it
// only to put the new file in use.

#include "fulltext/index_file.h"
#include "index/article_ref.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

struct DictionarySource;
namespace forms {
class RussianAnalyser;
}

// Results come a page at a time.
inline constexpr std::size_t kFullTextPageSize = 50;

// A part [start, end) of a UTF-16 text.
struct TextRange {
    std::size_t start = 0;
    std::size_t end = 0;
    friend bool operator==(const TextRange&, const TextRange&) = default;
};

// The state of one direction's full-text index: Ready, Missing, Stale
// (made for another text: the dictionary changed since) or Damaged.
using FullTextState = fulltext::IndexState;

struct FullTextStatus {
    std::size_t dictionary = 0; // in the core's order
    std::string name;           // the dictionary's name, UTF-8
    bool esperanto = false;     // the Esperanto–Russian direction
    FullTextState state = FullTextState::Missing;
    std::string message; // for any state but Ready: what is wrong, UTF-8 (Russian)
};

// One article (or the articles of one headword) that matches.
struct FullTextHit {
    std::size_t dictionary = 0;   // in the core's order
    std::string dictionaryName;   // UTF-8
    bool esperanto = false;       // the direction: Esperanto–Russian articles
    std::u16string headword;      // as the list shows it
    std::u16string snippet;       // a short piece of the article around the first match
    std::vector<TextRange> marks; // the matched words in `snippet`
    std::vector<ArticleRef> refs; // what to open, as a list line of that
                                  // dictionary and direction opens its headword
};

struct FullTextPage {
    std::vector<FullTextHit> hits; // at most kFullTextPageSize
    bool more = false;             // a further page has results
    // The indexes that could not answer (missing, stale or damaged), each
    // once; the others' hits are still given.
    std::vector<FullTextStatus> problems;
    // Not empty when the query cannot be searched (no word in it, too long):
    // the message to show instead of results, UTF-8 (Russian).
    std::string error;
    bool cancelled = false; // the search stopped at the caller's request
};

class FullTextSearch {
public:
    // `analyser` gives the Russian base forms; it outlives the search.
    explicit FullTextSearch(const forms::RussianAnalyser& analyser);
    ~FullTextSearch();
    FullTextSearch(const FullTextSearch&) = delete;
    FullTextSearch& operator=(const FullTextSearch&) = delete;

    // The dictionaries to search, in the core's order; closes what was open.
    void Reset(std::vector<DictionarySource> sources);

    // Page `page` (0 first) of the results for a query as typed (UTF-16):
    // words (all must occur, in any word form of theirs), phrases in double
    // quotes (their words in order). Every other character separates words;
    // no syntax of the engine is taken from the query. Results: dictionary by
    // dictionary in the core's order, in each the Esperanto–Russian direction
    // first, in headword order. `cancel`, when given and set by another thread,
    // stops the search soon with `cancelled` set.
    FullTextPage Search(std::u16string_view query, std::size_t page,
                        const std::atomic<bool>* cancel = nullptr);

    // The state of every direction's index (opening those not yet opened);
    // a direction a dictionary does not have (no text, no index) is left out.
    std::vector<FullTextStatus> Statuses();

    // Builds the index of one direction of a dictionary (in the core's
    // order) anew from its files; the old index stays in use until the new
    // one is in place. Raises cExcMsg when it cannot be written.
    void Rebuild(std::size_t dictionary, bool esperanto);

    // The headword a search names an article under: the article `refs` of
    // the first dictionary, or of the added dictionary named `added`. Empty
    // when no index can tell (missing, stale, damaged, or no such article).
    std::u16string HeadwordOf(bool esperanto, const std::vector<ArticleRef>& refs,
                              std::string_view added = {});

    // The words of a shown article text (as the reader shows it) that the
    // query matches, for highlighting; the first is the one to scroll to.
    std::vector<TextRange> Matches(std::u16string_view query, std::u16string_view text) const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

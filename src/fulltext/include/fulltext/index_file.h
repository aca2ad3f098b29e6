// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The full-text index of one direction of a dictionary, written and read
// only through here. It lies beside the direction's text and headword index
// (DictionaryFiles::fulltext) and is an SQLite database:
//
//   kelimbo_fulltext(key, value)   what the file is: "format" 1, and the
//                                  identity of the text it was made from
//                                  ("text_size", "text_fingerprint", as the
//                                  headword index records them)
//   entry(id, headword, refs)      one row per article, in headword order:
//                                  the first headword (UTF-8, as the list
//                                  shows it) that opens it, and the article as
//                                  8-byte records (start, end, 32-bit
//                                  little-endian; files of an earlier build
//                                  may hold several a row, which read alike)
//   body                           an FTS5 table without content: row id is
//                                  the entry's id, its one column the entry's
//                                  words as their base keys (words.h)
//
// A reader opens the file read-only and defensively: the file is input, and
// a damaged one gives IndexError, never a crash.

#include "index/article_ref.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

class cIndex;

namespace forms {
class RussianAnalyser;
}

namespace fulltext {

class BaseKeys;

enum class IndexState : std::uint8_t {
    Ready,   // opened and matching its dictionary text
    Missing, // no index file
    Stale,   // made for another text: the dictionary changed since
    Damaged, // not a readable index
};

// A read that failed: the file is damaged (or was written over meanwhile).
struct IndexError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct BuildSummary {
    std::size_t entries = 0;      // rows written
    std::uint64_t textBytes = 0;  // bytes of article text read
    std::uint64_t indexBytes = 0; // the file's size
};

// The articles a direction's index holds a row for, in row order: each
// article of the text once, under the first headword (in the headword index's
// order) that opens it, since headwords that share articles would otherwise
// index the same text once for each set they make. Articles that lie outside
// the text or are longer than an article can be are left out. Calls
// `each(headword, article)`; false from it stops the walk, and then so does
// this (true when every article was given).
bool ForEachRowArticle(const cIndex& headwords, std::uint64_t textSize,
                       const std::function<bool(std::uint32_t, const ArticleRef&)>& each);

// Writes the full-text index of a direction from its text file and headword
// index (both must be there), as a new file put in place of the old one
// whole. `esperanto` names the direction (its text is Windows-1251; the
// Russian one's UTF-8). Raises cExcMsg when a file cannot be read or written.
BuildSummary WriteIndex(const std::string& textPath, const std::string& headwordIndexPath,
                        const std::string& indexPath, bool esperanto,
                        const forms::RussianAnalyser& analyser);
// The same with the base forms `keys` has worked out already, for several
// directions one after the other: their texts share most of their words.
// `keys` is used by a thread of the build's own meanwhile.
BuildSummary WriteIndex(const std::string& textPath, const std::string& headwordIndexPath,
                        const std::string& indexPath, bool esperanto, BaseKeys& keys);

// A matching entry.
struct Entry {
    std::string headword; // UTF-8
    std::vector<ArticleRef> refs;
};

// The words of a query: each phrase's base keys, in order; an entry matches
// when it holds every phrase (a one-word phrase is a word).
using Phrases = std::vector<std::vector<std::string>>;

class IndexReader {
public:
    IndexReader();
    ~IndexReader();
    IndexReader(const IndexReader&) = delete;
    IndexReader& operator=(const IndexReader&) = delete;

    // Opens the index at `indexPath` made for the text at `textPath`. Ready, or
    // what is wrong, with `message` (UTF-8) saying it.
    IndexState Open(const std::string& indexPath, const std::string& textPath,
                    std::string& message);
    bool IsOpen() const;
    void Close();

    // How many entries match, counting no further than `limit`. Raises
    // IndexError; returns what was counted when `cancel` was set meanwhile.
    std::size_t Count(const Phrases& phrases, std::size_t limit, const std::atomic<bool>* cancel);
    // The matching entries from the `offset`-th on, at most `limit`, in
    // headword order. Raises IndexError.
    std::vector<Entry> Select(const Phrases& phrases, std::size_t offset, std::size_t limit,
                              const std::atomic<bool>* cancel);
    // The headword (UTF-8) of the entry whose articles are exactly `refs`, as
    // Select gives it; empty when no entry has them. Raises IndexError.
    std::string HeadwordOf(const std::vector<ArticleRef>& refs);

private:
    struct Db;
    std::unique_ptr<Db> m_db;
};

// The engine's query for the phrases: every key quoted, so no text of the
// user's ever reaches the engine's own syntax.
std::string MatchExpression(const Phrases& phrases);

} // namespace fulltext

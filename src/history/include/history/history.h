// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The back/forward history of lookups and articles.
//
// The cursor is read in one of two ways, chosen by `searchView`:
// - search window in front (true): the current entry is entries[cursor - 1]
//   (none when cursor is 0); entries[cursor..] lie ahead;
// - reader open (false): the shown entry is entries[cursor]; entries[cursor + 1..]
//   lie ahead.
// Push and CurrentQuery always read the search-window way; Forward and
// CanGoForward follow the flag; Back and CanGoBack are the same either way.
// The cursor stays within 0..entries.size().

#include "history/history_entry.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Push never lets the history grow past this; a loaded file may hold more,
// and such a history then keeps its length.
inline constexpr std::size_t HISTORY_MAX_ENTRIES = 40;

// The text files of an added dictionary, by which the history stamps the
// references it keeps of that dictionary.
struct AddedTexts {
    std::string name;
    std::string eoTextPath; // empty: the dictionary has no such direction
    std::string ruTextPath;
};

class cHistory {
public:
    bool searchView = true;  // which window is in front; never saved
    std::string historyPath; // set by Load, used by Save
    std::string eoTextPath;  // "EoRu_kelimbo.txt", for the file's stamp
    std::string ruTextPath;  // "tarnesk_rusa_esperanto.txt", for the file's stamp
    // The added dictionaries the program answers from now, set before Load
    // and whenever they change: an entry's references of a dictionary that
    // is not among them, or whose text has changed since, are dropped at Load.
    std::vector<AddedTexts> addedTexts;
    std::deque<HistoryEntry> entries; // oldest first
    std::int32_t cursor = 0;
    // Called after Push, Back or Forward has changed the entries or the
    // cursor (never by Load): the running program saves the file from it.
    std::function<void()> onChange;

    // Records the windows' state as the newest and current entry. A query equal
    // to the current entry (same text, references and direction) only drops
    // what lies ahead of it. The query is taken up to its first NUL.
    // `added` holds the added dictionaries' references (stamps are set here,
    // from addedTexts; a dictionary without references is not kept).
    void Push(std::u16string_view query, const std::vector<ArticleRef>& refs, bool isEsperanto,
              const std::vector<AddedRefs>& added = {});

    // Steps back: cursor - 1, and returns that entry. Requires CanGoBack().
    const HistoryEntry& Back();
    // Search window: returns entries[cursor] and leaves the cursor; reader:
    // cursor + 1 and returns that entry. Requires CanGoForward().
    // Both return a reference valid until the history next changes. Called
    // without their precondition they stop a debug build; a release build
    // returns the nearest entry (an empty one when there is none) and leaves
    // the cursor as it was.
    const HistoryEntry& Forward();

    // The current entry's query in the search-window reading; empty when there is none.
    std::u16string CurrentQuery() const;
    bool CanGoBack() const;
    bool CanGoForward() const;

    // Reads the history file (history_file.cpp). A whole file of a known
    // version whose stamps match the text files replaces the entries and the
    // cursor; an entry's references of an added dictionary are kept only
    // when that dictionary is in addedTexts and its stamp still matches.
    // A missing file, one of another version or one whose stamps differ
    // leaves the history as it was; a damaged one (ending early, or with a
    // cursor outside its entries) empties it.
    void Load(const char* historyFile, const char* eoTextFile, const char* ruTextFile);
    // Replaces the history file with the history; a failure keeps the old file.
    void Save();

private:
    std::size_t Size() const { return entries.size(); }
    void Changed() const;
    // The entry nearest to `index` for a call made against its precondition.
    const HistoryEntry& Nearest(std::int64_t index) const;
};

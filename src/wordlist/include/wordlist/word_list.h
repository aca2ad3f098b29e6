// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The learner's word list: the words kept, in the order they were kept, bound
// to one file (word_list_file.h for its layout, word_list_location.h for where
// it lives).
//
// Two programs may keep the same file (a portable copy and an installed one,
// or a window and kelimbo-lookup). Each WordList remembers its own changes
// since it last read the file, and Save applies them to the file as it is
// then: under a lock beside the file it reads the file again, applies this
// object's adds, removals and look-up counts in the order they were made,
// writes the result as a new file renamed over the old one (synced first, so
// a crash or a full disk leaves the old list whole) and takes the result as
// its own list. So neither program undoes what the other saved.
//
// A word is its text and its direction: "hundo" kept from the Esperanto
// dictionary and a Russian headword of the same spelling are two words.
//
// Messages are Russian, UTF-8, for the window or the terminal to show.

#include "wordlist/word.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace wordlist {

enum class SortOrder {
    Added,        // oldest first, as kept
    Alphabetical, // Esperanto words first, each language in its index's ordering
    Lookups,      // most looked up first; equal counts as kept
};

class WordList {
public:
    // A list with no file: Save keeps nothing and says so.
    WordList() = default;
    // A list kept in the file at the narrow path `path` (nothing is read yet).
    explicit WordList(std::string path);

    // Reads the file, replacing the list and forgetting unsaved changes. A
    // missing file is an empty list. A damaged one gives what can be read,
    // with a message; one of a later version gives what can be read and makes
    // the list read-only (ReadOnly), so that it is never overwritten. Never
    // raises.
    void Load();

    // Puts this object's changes into the file, merged with what another
    // program saved there meanwhile (see above), and takes the merged list.
    // True when the file now holds them; false, with a message and the
    // changes kept for the next Save, when the list is read-only, has no
    // file, or the file could not be locked, read or written. Never raises.
    bool Save();

    const std::string& Path() const { return m_path; }
    // The words, in the order they were kept.
    const std::vector<Word>& Words() const { return m_words; }
    std::size_t Size() const { return m_words.size(); }

    bool Contains(std::string_view text, bool esperanto) const;
    // The kept word, or null.
    const Word* Find(std::string_view text, bool esperanto) const;

    // Keeps a word, added now (or at `added`), looked up 0 times. False when
    // it is kept already or its text cannot be a word (ValidWordText).
    bool Add(std::string_view text, bool esperanto, std::int64_t added = NowUtc());
    // Takes a word out of the list and gives it back, so that an undo can
    // Restore it; nothing when it was not kept.
    std::optional<Word> Remove(std::string_view text, bool esperanto);
    // Keeps a removed word again with its own date and count, at its place
    // by date among the kept words. False when it is kept already or invalid.
    bool Restore(const Word& word);
    // One more look-up of a kept word; false when it is not kept.
    bool CountLookup(std::string_view text, bool esperanto);

    // Called after Add, Remove, Restore or CountLookup has changed the list
    // (never by Load or Save): the running program saves the file from it.
    std::function<void()> onChange;

    // Whether there are changes Save has not yet put into the file.
    bool Unsaved() const { return !m_changes.empty(); }
    // A list read from a file of a later version: nothing is saved.
    bool ReadOnly() const { return m_readOnly; }
    // What Load and Save had to say, oldest first; ClearMessages forgets them.
    const std::vector<std::string>& Messages() const { return m_messages; }
    void ClearMessages() { m_messages.clear(); }

    // The positions in Words() of all words in an order.
    std::vector<std::size_t> Sorted(SortOrder order) const;
    // Those of `positions` whose word begins with the typed text, compared as
    // the search box compares it with headwords (x-system letters, case and
    // the index's ignored punctuation); an empty text keeps them all.
    std::vector<std::size_t> Filtered(const std::vector<std::size_t>& positions,
                                      std::u16string_view typed) const;

private:
    enum class ChangeKind { Add, Remove, Lookup };
    struct Change {
        ChangeKind kind;
        Word word; // Add: the whole word; the others: text and direction
    };

    // Applies changes, in their order, to a list in date order; one that
    // finds nothing to change (a word kept twice, removed twice) does nothing.
    static void ApplyAll(std::vector<Word>& words, const std::vector<Change>& changes);
    void Reindex();
    void Changed();
    std::optional<std::size_t> PositionOf(std::string_view text, bool esperanto) const;

    std::string m_path;
    std::vector<Word> m_words;
    std::unordered_map<std::string, std::size_t> m_positions; // by Key(text, direction)
    std::vector<Change> m_changes;
    std::vector<std::string> m_messages;
    bool m_readOnly = false;
};

// For tests that need a disk which fails: consulted before each step of Save
// that writes (the new file's bytes, the flush to disk, the rename); returning
// true makes that step fail. Null, the default, lets every step proceed.
using WordListWriteFault = bool (*)();
void SetWordListWriteFault(WordListWriteFault fault);

} // namespace wordlist

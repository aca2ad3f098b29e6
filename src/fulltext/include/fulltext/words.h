// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The words of a text as the full-text index sees them. A word is a run of
// letters (Latin, Esperanto, Cyrillic) and digits; stress marks inside it are
// no break. Its key is folded as the headword index compares: small letters,
// ё read as е, the Esperanto letters in x-system spelling (ĉ → cx), stress
// marks dropped. Keys are UTF-8. The index holds each word under its base
// form's key, so that any form of a word finds the others.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace forms {
class RussianAnalyser;
}

namespace fulltext {

// A word of a UTF-16 text: the units [start, end) and its folded key.
struct Word {
    std::size_t start = 0;
    std::size_t end = 0;
    std::string key;
};

// Longer words are cut to this many units of key: nobody searches them whole.
inline constexpr std::size_t kMaxKeyBytes = 96;

// Calls `each(start, end, key)` for every word of `text`, in order.
template <class Each> void ForEachWord(std::u16string_view text, Each&& each);

// The words of a text, in order.
std::vector<Word> Words(std::u16string_view text);

// The folded key of one word (its letters only).
std::string FoldWord(std::u16string_view word);

// The key a word is indexed and searched under: the base form the program's
// rules give a folded key (an Esperanto word without its -j/-n ending, a verb
// form as its infinitive; a Russian word as the analyser's first lemma), or
// the key itself when they give none. Remembers what it worked out; one
// object per thread.
class BaseKeys {
    struct Known;

public:
    explicit BaseKeys(const forms::RussianAnalyser& analyser) : m_analyser(analyser) {}
    const std::string& Of(std::string_view key);

    // For many words at once: where the key's base form will be once Resolve
    // has worked out every key asked for since the last Resolve, the Russian
    // ones in one pass of the analyser. The place stays valid as long as
    // the object.
    const std::string* Pending(std::string_view key);
    void Resolve();

    // The same on two threads, for a stream of texts: one thread asks
    // Pending and hands what TakeNew gives to the other, which works it out
    // with Resolve(keys) while the first goes on asking. Each key is in one
    // set only, so the two never touch the same entry.
    class NewKeys {
        friend class BaseKeys;
        std::vector<Known*> m_entries;
    };
    NewKeys TakeNew();
    void Resolve(const NewKeys& keys) const;

private:
    struct Known {
        std::string key;
        std::string base;
    };
    // The entry of a key, added (and marked pending) when new. An open
    // addressing table over hashes: the index sees every word of a
    // dictionary's text, so this is its busiest lookup.
    Known& Find(std::string_view key);
    std::string Work(const std::string& key) const;

    struct Slot {
        std::uint64_t hash = 0; // the key's hash; 0 marks an empty slot
        Known* entry = nullptr;
    };
    const forms::RussianAnalyser& m_analyser;
    std::deque<Known> m_known;     // stable places
    std::vector<Slot> m_slots;     // the table: hash and entry side by side, one cache line
    std::vector<Known*> m_pending; // entries not worked out yet
};

// ---- details

namespace detail {
// What a UTF-16 unit adds to a key: up to two bytes of UTF-8 or x-system, and
// whether it is part of a word at all. Stress marks are part of a word and
// add nothing.
struct Folded {
    char bytes[2];
    unsigned char count; // bytes used
    bool letter;         // part of a word
};
Folded Fold(char16_t c);
} // namespace detail

template <class Each> void ForEachWord(std::u16string_view text, Each&& each) {
    std::string key;
    std::size_t start = 0;
    bool inWord = false;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const detail::Folded f =
            i < text.size() ? detail::Fold(text[i]) : detail::Folded{{0, 0}, 0, false};
        if (f.letter) {
            if (!inWord) {
                inWord = true;
                start = i;
                key.clear();
            }
            if (key.size() + f.count <= kMaxKeyBytes) {
                key.append(f.bytes, f.count);
            }
        } else if (inWord) {
            inWord = false;
            if (!key.empty()) {
                each(start, i, key);
            }
        }
    }
}

} // namespace fulltext

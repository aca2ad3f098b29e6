// SPDX-License-Identifier: GPL-2.0-or-later
#include "fulltext/words.h"

#include "forms/esperanto_forms.h"
#include "forms/russian_analyser.h"
#include "platform/code_page.h"

namespace fulltext {
namespace detail {

Folded Fold(char16_t c) {
    if ((c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9')) {
        return {{static_cast<char>(c), 0}, 1, true};
    }
    if (c >= u'A' && c <= u'Z') {
        return {{static_cast<char>(c - u'A' + u'a'), 0}, 1, true};
    }
    // Cyrillic: а–я, with capitals and ё folded onto them, in UTF-8.
    char16_t small = 0;
    if (c >= 0x0430 && c <= 0x044F) {
        small = c;
    } else if (c >= 0x0410 && c <= 0x042F) {
        small = static_cast<char16_t>(c + 0x20);
    } else if (c == 0x0451 || c == 0x0401) {
        small = 0x0435;
    }
    if (small != 0) {
        return {{static_cast<char>(0xC0 | (small >> 6)), static_cast<char>(0x80 | (small & 0x3F))},
                2,
                true};
    }
    // The Esperanto letters, in x-system spelling as the index keys have them.
    switch (c) {
    case 0x0108:
    case 0x0109:
        return {{'c', 'x'}, 2, true};
    case 0x011C:
    case 0x011D:
        return {{'g', 'x'}, 2, true};
    case 0x0124:
    case 0x0125:
        return {{'h', 'x'}, 2, true};
    case 0x0134:
    case 0x0135:
        return {{'j', 'x'}, 2, true};
    case 0x015C:
    case 0x015D:
        return {{'s', 'x'}, 2, true};
    case 0x016C:
    case 0x016D:
        return {{'u', 'x'}, 2, true};
    case 0x0300: // stress marks: inside a word, and no letter of its key
    case 0x0301:
        return {{0, 0}, 0, true};
    default:
        return {{0, 0}, 0, false};
    }
}

} // namespace detail

std::vector<Word> Words(std::u16string_view text) {
    std::vector<Word> words;
    ForEachWord(text, [&](std::size_t start, std::size_t end, const std::string& key) {
        words.push_back({start, end, key});
    });
    return words;
}

std::string FoldWord(std::u16string_view word) {
    std::string key;
    for (const char16_t c : word) {
        const detail::Folded f = detail::Fold(c);
        if (f.letter && key.size() + f.count <= kMaxKeyBytes) {
            key.append(f.bytes, f.count);
        }
    }
    return key;
}

namespace {

bool IsCyrillicKey(const std::string& key) {
    return !key.empty() && static_cast<unsigned char>(key.front()) >= 0x80;
}

bool IsLatinWord(const std::string& key) {
    for (const char c : key) {
        if (c < 'a' || c > 'z') {
            return false;
        }
    }
    return true;
}

} // namespace

std::string BaseKeys::Work(const std::string& key) const {
    if (IsLatinWord(key)) {
        return forms::EsperantoIndexBase(key);
    }
    if (IsCyrillicKey(key)) {
        const std::string ansi = platform::ToAnsi(platform::FromUtf8(key));
        const std::vector<std::string> lemmas = m_analyser.Lemmas(ansi);
        if (!lemmas.empty()) {
            std::string lemma = FoldWord(platform::FromAnsi(lemmas.front()));
            if (!lemma.empty()) {
                return lemma;
            }
        }
    }
    return key;
}

BaseKeys::Known& BaseKeys::Find(std::string_view key) {
    if (m_known.size() * 2 >= m_slots.size()) {
        const std::size_t size = m_slots.empty() ? 4096 : m_slots.size() * 2;
        m_slots.assign(size, Slot{});
        for (Known& known : m_known) {
            const std::uint64_t hash = std::hash<std::string_view>{}(known.key) | 1;
            std::size_t at = hash & (size - 1);
            while (m_slots[at].hash != 0) {
                at = (at + 1) & (size - 1);
            }
            m_slots[at] = {hash, &known};
        }
    }
    const std::uint64_t hash = std::hash<std::string_view>{}(key) | 1; // 0 marks an empty slot
    const std::size_t mask = m_slots.size() - 1;
    std::size_t at = hash & mask;
    while (m_slots[at].hash != 0) {
        if (m_slots[at].hash == hash && m_slots[at].entry->key == key) {
            return *m_slots[at].entry;
        }
        at = (at + 1) & mask;
    }
    Known& known = m_known.emplace_back(Known{std::string(key), std::string()});
    m_slots[at] = {hash, &known};
    m_pending.push_back(&known);
    return known;
}

const std::string* BaseKeys::Pending(std::string_view key) {
    return &Find(key).base;
}

BaseKeys::NewKeys BaseKeys::TakeNew() {
    NewKeys keys;
    keys.m_entries.swap(m_pending);
    return keys;
}

void BaseKeys::Resolve() {
    Resolve(TakeNew());
}

void BaseKeys::Resolve(const NewKeys& keys) const {
    std::vector<std::string> russian;
    std::vector<Known*> russianKeys;
    for (Known* known : keys.m_entries) {
        if (IsCyrillicKey(known->key)) {
            russian.push_back(platform::ToAnsi(platform::FromUtf8(known->key)));
            russianKeys.push_back(known);
        } else {
            known->base = Work(known->key);
        }
    }
    const std::vector<std::vector<std::string>> lemmas = m_analyser.Lemmas(russian);
    for (std::size_t k = 0; k < russian.size(); ++k) {
        std::string lemma;
        if (!lemmas[k].empty()) {
            lemma = FoldWord(platform::FromAnsi(lemmas[k].front()));
        }
        russianKeys[k]->base = lemma.empty() ? russianKeys[k]->key : std::move(lemma);
    }
}

const std::string& BaseKeys::Of(std::string_view key) {
    Known& known = Find(key);
    if (!m_pending.empty()) {
        Resolve();
    }
    return known.base;
}

} // namespace fulltext

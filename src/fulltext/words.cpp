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

// The Esperanto base form a word is indexed under: a verb form's infinitive
// (sxatas → sxati), else the word without its number and case endings
// (hundojn → hundo). Word-class changes and affixes are left alone: hunda is
// not hundo, and malbona is not bona.
std::string EsperantoBase(const std::string& key) {
    const std::vector<forms::BaseForm> forms = forms::EsperantoBaseForms(key);
    for (const forms::BaseForm& form : forms) {
        if (form.rule == forms::Rule::Verb) {
            return form.key;
        }
    }
    for (const forms::BaseForm& form : forms) {
        if (form.rule == forms::Rule::Ending) {
            return form.key;
        }
    }
    return key;
}

} // namespace

std::string BaseKeys::Work(const std::string& key) const {
    if (IsLatinWord(key)) {
        return EsperantoBase(key);
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

const std::string* BaseKeys::Pending(const std::string& key) {
    const auto [entry, added] = m_known.try_emplace(key);
    if (added) {
        m_pending.emplace_back(&entry->first, &entry->second);
    }
    return &entry->second;
}

void BaseKeys::Resolve() {
    std::vector<std::string> russian;
    std::vector<std::pair<const std::string*, std::string*>> russianKeys;
    for (const auto& [key, base] : m_pending) {
        if (IsCyrillicKey(*key)) {
            russian.push_back(platform::ToAnsi(platform::FromUtf8(*key)));
            russianKeys.emplace_back(key, base);
        } else {
            *base = Work(*key);
        }
    }
    const std::vector<std::vector<std::string>> lemmas = m_analyser.Lemmas(russian);
    for (std::size_t k = 0; k < russian.size(); ++k) {
        std::string lemma;
        if (!lemmas[k].empty()) {
            lemma = FoldWord(platform::FromAnsi(lemmas[k].front()));
        }
        *russianKeys[k].second = lemma.empty() ? *russianKeys[k].first : std::move(lemma);
    }
    m_pending.clear();
}

const std::string& BaseKeys::Of(const std::string& key) {
    const auto found = m_known.find(key);
    if (found != m_known.end()) {
        return found->second;
    }
    return m_known.emplace(key, Work(key)).first->second;
}

} // namespace fulltext

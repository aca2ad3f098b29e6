// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/russian_forms.h"

#include "index/my_less.h"

#include <algorithm>
#include <tuple>
#include <utility>

namespace forms {
namespace {

// Windows-1251 letters.
constexpr unsigned char kSmallYe = 0xE5, kCapitalYe = 0xC5;
constexpr unsigned char kSmallYo = 0xB8, kCapitalYo = 0xA8;

// A shorter base form finds only the headwords equal to it, not the hundreds
// it begins.
constexpr std::size_t kMinBeginLetters = 3;

// A word has at most this many readings with ё; each costs a dictionary call.
constexpr std::size_t kMaxReadings = 6;

// The word with a capital first letter, or empty when it begins with none of
// the small Cyrillic letters.
std::string Capitalised(std::string_view word) {
    const auto first = static_cast<unsigned char>(word.front());
    std::string s(word);
    if (first >= 0xE0) {
        s[0] = static_cast<char>(first - 0x20);
    } else if (first == kSmallYo) {
        s[0] = static_cast<char>(kCapitalYo);
    } else {
        s.clear();
    }
    return s;
}

// The word in small letters.
std::string Small(std::string_view word) {
    std::string s(word);
    for (char& c : s) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0xC0 && u <= 0xDF) {
            c = static_cast<char>(u + 0x20);
        } else if (u == kCapitalYo) {
            c = static_cast<char>(kSmallYo);
        }
    }
    return s;
}

} // namespace

std::vector<BaseForm> RussianBaseForms(std::string_view query, const RussianAnalyser& analyser,
                                       const RussianStemmer& stemmer) {
    const my_less order;
    std::vector<BaseForm> forms;
    const auto add = [&](std::string key, Rule rule) {
        if (key.empty() || order.same(key, query) ||
            std::any_of(forms.begin(), forms.end(),
                        [&](const BaseForm& f) { return order.same(f.key, key); })) {
            return;
        }
        const bool exact = key.size() < kMinBeginLetters;
        forms.push_back({std::move(key), rule, 0, exact});
    };
    if (query.empty()) {
        return forms;
    }

    // The analyser's lemmas; the spelling dictionary's stems for a word the
    // analyser does not know. A word neither knows may be a name typed small.
    // The analyser keeps the case it is given, so a word typed in capitals is
    // asked in small letters first (СОБАКОЙ → собака, not СОБАКА).
    const auto lemmasOrStems = [&](std::string_view word) {
        const std::string small = Small(word);
        std::vector<std::string> found = analyser.Lemmas(small);
        if (found.empty() && small != word) {
            found = analyser.Lemmas(word);
        }
        const Rule rule = found.empty() ? Rule::Stem : Rule::Lemma;
        if (found.empty()) {
            found = stemmer.Stems(word);
        }
        return std::pair(std::move(found), rule);
    };
    auto [found, rule] = lemmasOrStems(query);
    if (found.empty()) {
        if (const std::string capital = Capitalised(query); !capital.empty()) {
            std::tie(found, rule) = lemmasOrStems(capital);
        }
    }
    // The analyser writes ё; a dictionary may list the word with е, as the
    // query was typed. That spelling comes first for a query without ё.
    const bool typedWithoutYo = std::none_of(query.begin(), query.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u == kSmallYo || u == kCapitalYo;
    });
    const auto addAll = [&](std::vector<std::string> keys, Rule keysRule) {
        for (std::string& key : keys) {
            if (keysRule == Rule::Lemma && typedWithoutYo) {
                std::string plain = key;
                for (char& c : plain) {
                    const auto u = static_cast<unsigned char>(c);
                    c = u == kSmallYo     ? static_cast<char>(kSmallYe)
                        : u == kCapitalYo ? static_cast<char>(kCapitalYe)
                                          : c;
                }
                if (plain != key) {
                    add(std::move(plain), keysRule);
                }
            }
            add(std::move(key), keysRule);
        }
    };
    addAll(std::move(found), rule);

    std::size_t readings = 0;
    for (std::size_t i = 0; i < query.size() && readings < kMaxReadings; ++i) {
        const auto c = static_cast<unsigned char>(query[i]);
        if (c != kSmallYe && c != kCapitalYe) {
            continue;
        }
        ++readings;
        std::string reading(query);
        reading[i] = static_cast<char>(c == kSmallYe ? kSmallYo : kCapitalYo);
        auto [readingForms, readingRule] = lemmasOrStems(reading);
        add(std::move(reading), Rule::Yo);
        addAll(std::move(readingForms), readingRule);
    }
    return forms;
}

} // namespace forms

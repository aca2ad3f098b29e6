// SPDX-License-Identifier: GPL-2.0-or-later
#include "derivations.h"

#include "index/index_writer.h"
#include "platform/ansi_literal.h"

#include <stdexcept>
#include <unordered_set>

namespace bench_data {
namespace {

struct Affixes {
    std::vector<std::string> prefixes;
    std::vector<std::string> suffixes;
    std::string joiner;       // between the parts of a compound
    std::string hyphenPrefix; // "kvazaux-", "кое-"
    std::string hyphenSuffix; // "-ajx", "-то"
};

Affixes EsperantoAffixes() {
    return {{"mal", "re", "ek", "dis", "ne", "pra", "bo", "ge", "mis", "eks", "fi", "sen"},
            {"ist", "ej", "in", "et", "eg", "ul", "ad", "ar", "ebl", "ig", "igx", "ism"},
            "o",
            "kvazaux-",
            "-ajx"};
}

Affixes RussianAffixes() {
    return {{platform::Ansi(u8"по").c_str(), platform::Ansi(u8"при").c_str(),
             platform::Ansi(u8"пере").c_str(), platform::Ansi(u8"за").c_str(),
             platform::Ansi(u8"на").c_str(), platform::Ansi(u8"вы").c_str(),
             platform::Ansi(u8"не").c_str(), platform::Ansi(u8"без").c_str(),
             platform::Ansi(u8"раз").c_str(), platform::Ansi(u8"про").c_str(),
             platform::Ansi(u8"под").c_str(), platform::Ansi(u8"от").c_str()},
            {platform::Ansi(u8"ость").c_str(), platform::Ansi(u8"ник").c_str(),
             platform::Ansi(u8"ка").c_str(), platform::Ansi(u8"ство").c_str(),
             platform::Ansi(u8"ение").c_str(), platform::Ansi(u8"ный").c_str(),
             platform::Ansi(u8"ище").c_str(), platform::Ansi(u8"ец").c_str()},
            platform::Ansi(u8"о").c_str(),
            platform::Ansi(u8"кое-").c_str(),
            platform::Ansi(u8"-то").c_str()};
}

// Windows-1251 capitals; ASCII letters as ASCII.
std::string Capitalised(std::string word) {
    unsigned char c = static_cast<unsigned char>(word[0]);
    if (c >= 'a' && c <= 'z') {
        c = static_cast<unsigned char>(c - 0x20);
    } else if (c >= 0xE0) {
        c = static_cast<unsigned char>(c - 0x20);
    } else if (c == 0xB8) {
        c = 0xA8;
    }
    word[0] = static_cast<char>(c);
    return word;
}

// A suffix goes before an Esperanto word's final vowel, after a Russian stem.
std::string Suffixed(Language language, const std::string& word, const std::string& suffix) {
    if (language == Language::Esperanto && word.size() > 2 &&
        std::string_view("aeio").find(word.back()) != std::string_view::npos) {
        return word.substr(0, word.size() - 1) + suffix + word.back();
    }
    return word + suffix;
}

// Derivation `kind` of word i. Kinds past the fixed ones are compounds with
// ever further partners, so the supply never runs out.
std::string Derive(Language language, const Affixes& affixes, const std::vector<std::string>& words,
                   std::size_t i, std::size_t kind) {
    const std::string& word = words[i];
    const std::size_t np = affixes.prefixes.size();
    const std::size_t ns = affixes.suffixes.size();
    if (kind == 0) {
        return word;
    }
    if (kind == 1) {
        return Capitalised(word);
    }
    kind -= 2;
    if (kind < np) {
        return affixes.prefixes[kind] + word;
    }
    kind -= np;
    if (kind < ns) {
        return Suffixed(language, word, affixes.suffixes[kind]);
    }
    kind -= ns;
    if (kind == 0) {
        return affixes.hyphenPrefix + word;
    }
    if (kind == 1) {
        return word + affixes.hyphenSuffix;
    }
    const std::string& partner = words[(i * 7919 + kind * 104729) % words.size()];
    if (kind % 3 == 0) {
        return word + "-" + partner;
    }
    return word + affixes.joiner + partner;
}

} // namespace

std::vector<std::string> DeriveHeadwords(Language language, const std::vector<std::string>& words,
                                         std::size_t count) {
    if (words.empty()) {
        throw std::invalid_argument("no words to derive headwords from");
    }
    const Affixes affixes = language == Language::Esperanto ? EsperantoAffixes() : RussianAffixes();
    std::vector<std::string> headwords;
    headwords.reserve(count);
    std::unordered_set<std::string> seen;
    seen.reserve(count * 2);
    for (std::size_t kind = 0; headwords.size() < count; ++kind) {
        for (std::size_t i = 0; i < words.size() && headwords.size() < count; ++i) {
            std::string headword = Derive(language, affixes, words, i, kind);
            if (headword.size() <= kMaxHeadwordBytes && seen.insert(headword).second) {
                headwords.push_back(std::move(headword));
            }
        }
    }
    return headwords;
}

} // namespace bench_data

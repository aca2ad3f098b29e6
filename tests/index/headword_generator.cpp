// SPDX-License-Identifier: GPL-2.0-or-later
#include "headword_generator.h"

#include "support/temp_dir.h"

#include <algorithm>
#include <array>

namespace generated {

namespace {

using reference::Language;

std::size_t Below(std::mt19937& random, std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
}

bool Chance(std::mt19937& random, int percent) {
    return static_cast<int>(Below(random, 100)) < percent;
}

template <typename Container> const auto& Pick(std::mt19937& random, const Container& items) {
    return items[Below(random, items.size())];
}

// Windows-1251 case changes of Cyrillic; every other byte stays.
char RuUpper(char c) {
    const auto b = static_cast<unsigned char>(c);
    if (b == 0xB8) {
        return static_cast<char>(0xA8);
    }
    return b >= 0xE0 ? static_cast<char>(b - 0x20) : c;
}

char RuLower(char c) {
    const auto b = static_cast<unsigned char>(c);
    if (b == 0xA8) {
        return static_cast<char>(0xB8);
    }
    return b >= 0xC0 && b <= 0xDF ? static_cast<char>(b + 0x20) : c;
}

char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

std::string Transformed(std::string s, char (*change)(char), std::size_t count) {
    std::transform(s.begin(), s.begin() + static_cast<std::ptrdiff_t>(std::min(count, s.size())),
                   s.begin(), change);
    return s;
}

const std::string kRuLetters = testing_support::Cp1251("абвгдежзийклмнопрстуфхцчшщъыьэюяеоаи");
const std::string kYo = testing_support::Cp1251("ё");
const std::string kLatin = "abcdefghijklmnopqrstuvwxyz";
const std::string kDigits = "0123456789";

std::string RuWord(std::mt19937& random) {
    std::string word;
    const std::size_t length = 1 + Below(random, 9);
    for (std::size_t k = 0; k < length; ++k) {
        word += Chance(random, 6) ? kYo[0] : Pick(random, kRuLetters);
    }
    return word;
}

std::string RuHeadword(std::mt19937& random) {
    const int kind = static_cast<int>(Below(random, 100));
    if (kind < 8) {
        std::string word = RandomString(random, kLatin, 6);
        return Chance(random, 40) ? Transformed(word, AsciiUpper, Chance(random, 50) ? 1 : 6)
                                  : (word.empty() ? "a" : word);
    }
    if (kind < 13) {
        return Pick(random, kDigits) + RandomString(random, kDigits + "D-" + kRuLetters, 3);
    }
    if (kind < 18) {
        return RuWord(random) + (Chance(random, 50) ? " " : "-") + RuWord(random);
    }
    std::string word = RuWord(random);
    if (kind < 30) {
        return Transformed(word, RuUpper, 1);
    }
    if (kind < 35) {
        return Transformed(word, RuUpper, word.size());
    }
    return word;
}

const std::array<const char*, 28> kEoLetters = {
    "a", "b", "c", "cx", "d", "e", "f", "g", "gx", "h", "hx", "i",  "j", "jx",
    "k", "l", "m", "n",  "o", "p", "r", "s", "sx", "t", "u",  "ux", "v", "z"};
const std::array<const char*, 5> kEoEndings = {"o", "a", "i", "e", "on"};

std::string EoRoot(std::mt19937& random, std::size_t maxLetters) {
    std::string root;
    const std::size_t length = 1 + Below(random, maxLetters);
    for (std::size_t k = 0; k < length; ++k) {
        root += Pick(random, kEoLetters);
    }
    return root;
}

std::string EoHeadword(std::mt19937& random) {
    const int kind = static_cast<int>(Below(random, 100));
    std::string word = EoRoot(random, 6);
    if (kind < 4) {
        return word + "-"; // prefix: "mal-"
    }
    if (kind < 7) {
        return "-" + word + "-"; // suffix: "-ad-"
    }
    if (kind < 10) {
        return word + "-" + EoRoot(random, 4) + Pick(random, kEoEndings); // compound
    }
    if (kind < 13) {
        std::string abbreviation; // "k.t.p."
        for (std::size_t k = 0, n = 1 + Below(random, 3); k < n; ++k) {
            abbreviation += std::string(Pick(random, kEoLetters)) + ".";
        }
        return abbreviation;
    }
    if (kind < 15) {
        return "\"" + word + Pick(random, kEoEndings) + "\"";
    }
    word += Pick(random, kEoEndings);
    if (kind < 25) {
        return Transformed(word, AsciiUpper, 1); // "Cxina"
    }
    if (kind < 30) {
        return Transformed(word, AsciiUpper, word.size()); // "CXAPELO"
    }
    return word;
}

std::string Headword(Language language, std::mt19937& random) {
    return language == Language::Russian ? RuHeadword(random) : EoHeadword(random);
}

// A longer word of the same family: the headword and a few more letters.
std::string Extended(Language language, std::mt19937& random, const std::string& base) {
    if (language == Language::Russian) {
        return base + RuWord(random).substr(0, 1 + Below(random, 3));
    }
    return base + EoRoot(random, 2) + (Chance(random, 50) ? Pick(random, kEoEndings) : "");
}

std::string OtherCase(Language language, std::mt19937& random, const std::string& s) {
    const bool upper = Chance(random, 50);
    const std::size_t count = Chance(random, 50) ? 1 : s.size();
    if (language == Language::Russian) {
        return Transformed(s, upper ? RuUpper : RuLower, count);
    }
    return Transformed(s, upper ? AsciiUpper : AsciiLower, count);
}

} // namespace

std::string RandomString(std::mt19937& random, const std::string& alphabet, std::size_t maxLength) {
    std::string s;
    for (std::size_t k = 0, n = Below(random, maxLength + 1); k < n; ++k) {
        s += Pick(random, alphabet);
    }
    return s;
}

std::vector<std::string> Headwords(Language language, std::size_t count, std::uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<std::string> words;
    words.reserve(count);
    while (words.size() < count) {
        if (words.empty() || Chance(random, 55)) {
            words.push_back(Headword(language, random));
        } else if (Chance(random, 80)) {
            words.push_back(Extended(language, random, Pick(random, words)));
        } else {
            words.push_back(OtherCase(language, random, Pick(random, words)));
        }
    }
    if (language == Language::Esperanto) {
        words.insert(words.end(), {"mal-", "mala", "male", "malebla", "CXapelo", "cxapelo"});
    }
    return words;
}

std::vector<std::string> Queries(Language language, const std::vector<std::string>& headwords,
                                 std::size_t count, std::uint32_t seed) {
    std::mt19937 random(seed);
    const std::string alphabet = language == Language::Russian
                                     ? kRuLetters + kYo + testing_support::Cp1251("ЁЖЕ") + "aA1"
                                     : kLatin + "xxxxCGXSU";
    std::vector<std::string> queries;
    while (queries.size() < count) {
        if (Chance(random, 70)) {
            std::string word = Pick(random, headwords);
            if (language == Language::Esperanto) {
                word = reference::Stripped(word);
            }
            const std::string prefix = word.substr(0, 1 + Below(random, word.size() + 1));
            queries.push_back(Chance(random, 25) ? OtherCase(language, random, prefix) : prefix);
        } else {
            queries.push_back(RandomString(random, alphabet, 4));
        }
    }
    return queries;
}

std::vector<std::string> PunctuatedQueries(const std::vector<std::string>& headwords,
                                           std::size_t count, std::uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<std::string> queries;
    while (queries.size() < count) {
        if (Chance(random, 20)) {
            queries.push_back(RandomString(random, "-.\"", 4));
            continue;
        }
        std::string query = Pick(random, headwords);
        query.resize(Below(random, query.size() + 1));
        if (Chance(random, 40)) {
            query.insert(Below(random, query.size() + 1), 1, "-.\""[Below(random, 3)]);
        }
        queries.push_back(query);
    }
    return queries;
}

} // namespace generated

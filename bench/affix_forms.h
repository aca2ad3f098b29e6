// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Inflected forms of words from a Hunspell dictionary's own suffix rules: each
// word of the .dic with its flags, each flag's SFX rules of the .aff applied.
// Enough for measuring how often an inflected form leads back to its word;
// prefix rules, continuation flags and compounding are not applied.

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace bench_data {

class AffixForms {
public:
    // Reads "<dictionary>.aff" and "<dictionary>.dic" (UTF-8, one-letter flags).
    // Throws std::runtime_error when either cannot be read.
    explicit AffixForms(const std::string& dictionary);

    // Whether the word (UTF-8) is a word of the .dic.
    bool Knows(std::string_view word) const;
    // The distinct forms the word's flags make (UTF-8), without the word
    // itself; empty for a word the .dic does not hold.
    std::vector<std::string> Forms(std::string_view word) const;

private:
    struct Rule {
        std::u16string strip;
        std::u16string add;
        std::vector<std::u16string> condition; // one element a character: "а", "[ая]", "[^к]", "."
    };

    std::map<char16_t, std::vector<Rule>> m_rules;
    std::map<std::u16string, std::u16string> m_flags; // word → flags
};

} // namespace bench_data

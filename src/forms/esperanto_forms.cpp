// SPDX-License-Identifier: GPL-2.0-or-later
// The rules are tables: the number and case endings with the letters they may
// follow, the verb endings, the participle suffixes, the word-class endings in
// their order of preference, the closed words, the prefixes and the suffixes.
// Everything works on x-system text, where an accented letter is a base letter
// and a small 'x' (the index key's own spelling), so no rule can split one.

#include "forms/esperanto_forms.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>

namespace forms {
namespace {

struct NumberCase {
    std::string_view ending;
    std::string_view after; // the letters the ending may follow
};

// Longest first: "hundojn" loses "jn", not only "n".
constexpr std::array<NumberCase, 3> kNumberCase = {{
    {"jn", "oau"},
    {"n", "aeiou"},
    {"j", "oau"},
}};

constexpr std::array<std::string_view, 5> kVerbEndings = {"as", "is", "os", "us", "u"};
constexpr std::array<std::string_view, 6> kParticiples = {"ant", "int", "ont", "at", "it", "ot"};
constexpr std::string_view kParticipleEndings = "aoe";
// The word-class endings in their order of preference.
constexpr std::string_view kWordClass = "oaei";

// Words that take -j and -n but no other ending: the personal pronouns and
// their possessives, the correlatives, and the numerals.
constexpr std::array<std::string_view, 10> kPronouns = {"mi", "vi",  "li", "sxi", "gxi",
                                                        "ni", "ili", "si", "oni", "ci"};
constexpr std::array<std::string_view, 5> kCorrelativeStarts = {"ki", "ti", "i", "cxi", "neni"};
constexpr std::array<std::string_view, 9> kCorrelativeEnds = {"u",  "o",  "a",  "e", "el",
                                                              "am", "om", "al", "es"};
constexpr std::array<std::string_view, 12> kNumerals = {"unu", "du", "tri",  "kvar", "kvin", "ses",
                                                        "sep", "ok", "naux", "dek",  "cent", "mil"};

constexpr std::array<std::string_view, 11> kPrefixes = {"mal", "ne", "re",  "ek",  "dis", "ge",
                                                        "bo",  "fi", "eks", "mis", "pra"};
constexpr std::array<std::string_view, 28> kSuffixes = {
    "et",  "eg", "in", "ul",   "ej", "ist", "ar", "ig",  "igx", "ad",  "ebl", "em", "ind", "acx",
    "ajx", "ec", "er", "estr", "id", "il",  "an", "end", "ing", "ism", "obl", "uj", "um",  "cxj"};

// A root keeps at least this many letters when something is taken off it.
constexpr std::size_t kMinRootLetters = 2;
// A shorter base form finds only the headwords equal to it: "sxi" would begin
// hundreds.
constexpr std::size_t kMinBeginLetters = 3;
// Splits of a root into affixes and a core, at most (one bit each in a mask).
constexpr std::size_t kMaxSplits = 32;

constexpr std::uint8_t kAffixTier = 3;

bool IsPairLetter(char c) {
    return c == 'c' || c == 'g' || c == 'h' || c == 'j' || c == 's' || c == 'u';
}

// Letters of x-system text: an accented letter's 'x' and hyphens do not count.
std::size_t Letters(std::string_view s) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '-' || (s[i] == 'x' && i > 0 && IsPairLetter(s[i - 1]))) {
            continue;
        }
        ++n;
    }
    return n;
}

std::string Lower(std::string_view key) {
    std::string s(key);
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return s;
}

template <std::size_t N> bool In(const std::array<std::string_view, N>& list, std::string_view w) {
    return std::find(list.begin(), list.end(), w) != list.end();
}

class Collector {
public:
    explicit Collector(std::string_view query) : m_query(query) {}

    void Add(std::string key, Rule rule, std::uint8_t tier, bool exact = false,
             std::uint32_t groups = 0, bool companion = false) {
        const std::size_t letters = Letters(key);
        if (key == m_query || letters < kMinRootLetters) {
            return;
        }
        exact = exact || letters < kMinBeginLetters;
        for (BaseForm& form : m_forms) {
            if (form.key == key && form.companion == companion) {
                form.groups |= groups;
                return;
            }
        }
        m_forms.push_back({std::move(key), rule, tier, exact, groups, companion});
    }

    // From here on the base forms find only the headwords equal to them.
    void MakeExact() {
        for (BaseForm& form : m_forms) {
            form.exact = true;
        }
    }

    std::vector<BaseForm> Take() { return std::move(m_forms); }

private:
    std::string_view m_query;
    std::vector<BaseForm> m_forms;
};

// An affix as dictionaries list it: "mal-", "-ej-". Built by appending, which
// GCC 12 at -O3 does not take for an overlapping copy.
std::string AffixKey(std::string_view affix, bool prefix) {
    std::string key;
    if (!prefix) {
        key += '-';
    }
    key.append(affix);
    key += '-';
    return key;
}

// One way of splitting a root: the core between its prefixes and suffixes.
struct Split {
    std::size_t begin = 0; // the core's place in the root
    std::size_t end = 0;
};

struct AffixAt {
    std::size_t offset = 0; // in the root
    std::string key;        // "mal-", "-ej-"
    std::uint32_t groups = 0;
};

// Every split of the root with at least one affix taken off, fewest affixes
// first, and each affix found with the splits it belongs to.
void SplitAffixes(std::string_view root, std::vector<Split>& splits,
                  std::vector<AffixAt>& affixes) {
    struct State {
        Split split;
        std::vector<std::size_t> taken; // indexes into `affixes`
    };
    std::vector<State> states{{{0, root.size()}, {}}};
    const auto note = [&](std::size_t offset, std::string key) {
        for (std::size_t k = 0; k < affixes.size(); ++k) {
            if (affixes[k].offset == offset && affixes[k].key == key) {
                return k;
            }
        }
        affixes.push_back({offset, std::move(key), 0});
        return affixes.size() - 1;
    };
    const auto seen = [&](Split s) {
        return std::any_of(states.begin(), states.end(), [s](const State& t) {
            return t.split.begin == s.begin && t.split.end == s.end;
        });
    };
    for (std::size_t k = 0; k < states.size() && states.size() <= kMaxSplits; ++k) {
        const Split split = states[k].split;
        const std::string_view core = root.substr(split.begin, split.end - split.begin);
        const auto grow = [&](Split next, std::size_t affixOffset, std::string affixKey) {
            const std::string_view rest = root.substr(next.begin, next.end - next.begin);
            if (Letters(rest) < kMinRootLetters || rest.front() == 'x' || rest.front() == '-' ||
                seen(next) || states.size() > kMaxSplits) {
                return;
            }
            State state{next, states[k].taken};
            state.taken.push_back(note(affixOffset, std::move(affixKey)));
            states.push_back(std::move(state));
        };
        for (const std::string_view prefix : kPrefixes) {
            if (core.starts_with(prefix)) {
                grow({split.begin + prefix.size(), split.end}, split.begin, AffixKey(prefix, true));
            }
        }
        for (const std::string_view suffix : kSuffixes) {
            if (core.ends_with(suffix)) {
                grow({split.begin, split.end - suffix.size()}, split.end - suffix.size(),
                     AffixKey(suffix, false));
            }
        }
    }
    for (std::size_t k = 1; k < states.size(); ++k) {
        splits.push_back(states[k].split);
        for (const std::size_t a : states[k].taken) {
            affixes[a].groups |= std::uint32_t{1} << (splits.size() - 1);
        }
    }
    std::stable_sort(affixes.begin(), affixes.end(),
                     [](const AffixAt& a, const AffixAt& b) { return a.offset < b.offset; });
}

// The numerals of a number written together, in its order (dudek → du, dek),
// or nothing when the word is not two numerals or more from end to end.
std::vector<std::string_view> NumeralParts(std::string_view word) {
    std::vector<std::string_view> parts;
    while (!word.empty()) {
        std::string_view longest;
        for (const std::string_view numeral : kNumerals) {
            if (word.starts_with(numeral) && numeral.size() > longest.size()) {
                longest = numeral;
            }
        }
        if (longest.empty()) {
            return {};
        }
        parts.push_back(longest);
        word.remove_prefix(longest.size());
    }
    return parts.size() >= 2 ? parts : std::vector<std::string_view>{};
}

// The word-class endings to try for a root whose word ends in `own`, in their
// order of preference: an adverb's root is most often an adjective's.
std::string_view WordClassOrder(char own) {
    return own == 'e' ? std::string_view("aoi") : kWordClass;
}

} // namespace

bool IsEsperantoClosedWord(std::string_view w) {
    if (In(kPronouns, w) || In(kNumerals, w)) {
        return true;
    }
    if (w.ends_with('a') && In(kPronouns, w.substr(0, w.size() - 1))) { // mia, ilia …
        return true;
    }
    return std::any_of(
        kCorrelativeStarts.begin(), kCorrelativeStarts.end(), [w](std::string_view start) {
            return w.starts_with(start) && In(kCorrelativeEnds, w.substr(start.size()));
        });
}

std::vector<BaseForm> EsperantoBaseForms(std::string_view query) {
    const std::string word = Lower(query);
    Collector forms(word);

    // Tier 0: number and case. When two letters come off, the form that lost
    // only the last one follows ("hundojn" → "hundo", "hundoj").
    std::string w = word;
    for (const NumberCase& rule : kNumberCase) {
        const std::size_t n = rule.ending.size();
        if (Letters(w) >= n + kMinRootLetters && w.ends_with(rule.ending) &&
            rule.after.find(w[w.size() - n - 1]) != std::string_view::npos) {
            w.resize(w.size() - n);
            forms.Add(w, Rule::Ending, 0);
            for (std::size_t kept = 1; kept < n; ++kept) {
                forms.Add(word.substr(0, w.size() + kept), Rule::Ending, 0);
            }
            break;
        }
    }
    if (IsEsperantoClosedWord(w)) {
        // A possessive leads on to its pronoun: vian → via → vi.
        if (w.ends_with('a') && In(kPronouns, std::string_view(w).substr(0, w.size() - 1))) {
            forms.Add(w.substr(0, w.size() - 1), Rule::Pronoun, 0);
        }
        forms.MakeExact();
        return forms.Take();
    }
    if (const std::vector<std::string_view> numerals = NumeralParts(w); !numerals.empty()) {
        for (const std::string_view numeral : numerals) {
            forms.Add(std::string(numeral), Rule::Numeral, 0);
        }
        forms.MakeExact();
        return forms.Take();
    }

    // Tier 1: verbs and participles. Tier 2: the other word-class endings.
    std::string root; // what the word-class ending or the verb ending was taken from
    char own = 0;     // the word's own word-class ending, when it has one
    bool verbal = false;
    for (const std::string_view ending : kVerbEndings) {
        if (w.ends_with(ending) &&
            Letters(std::string_view(w).substr(0, w.size() - ending.size())) >= kMinRootLetters) {
            root = w.substr(0, w.size() - ending.size());
            verbal = true;
            forms.Add(root + "i", Rule::Verb, 1);
            break;
        }
    }
    if (!verbal && !w.empty() && kParticipleEndings.find(w.back()) != std::string_view::npos) {
        const std::string_view stem = std::string_view(w).substr(0, w.size() - 1);
        for (const std::string_view suffix : kParticiples) {
            if (stem.ends_with(suffix) &&
                Letters(stem.substr(0, stem.size() - suffix.size())) >= kMinRootLetters) {
                root = stem.substr(0, stem.size() - suffix.size());
                verbal = true;
                forms.Add(root + "i", Rule::Participle, 1);
                for (const char ending : kWordClass.substr(0, 3)) { // the participle as a word
                    forms.Add(std::string(stem) + ending, Rule::WordClass, 2);
                }
                break;
            }
        }
    }
    if (verbal) {
        own = 'i';
        for (const char ending : kWordClass) {
            forms.Add(root + ending, Rule::WordClass, 2);
        }
    } else if (!w.empty() && kWordClass.find(w.back()) != std::string_view::npos &&
               Letters(w) > kMinRootLetters) {
        own = w.back();
        root = w.substr(0, w.size() - 1);
        for (const char ending : WordClassOrder(own)) {
            forms.Add(root + ending, Rule::WordClass, 2);
        }
    } else {
        root = w;
    }

    // Tier 3: affixes split off. Each split's core is tried with the word's
    // own ending first, then with the others.
    std::vector<Split> splits;
    std::vector<AffixAt> affixes;
    SplitAffixes(root, splits, affixes);
    std::string endings;
    if (own != 0) {
        endings += own;
    }
    for (const char ending : kWordClass) {
        if (ending != own) {
            endings += ending;
        }
    }
    for (std::size_t s = 0; s < splits.size(); ++s) {
        const std::string core = root.substr(splits[s].begin, splits[s].end - splits[s].begin);
        for (const char ending : endings) {
            forms.Add(core + ending, Rule::Affix, kAffixTier, true, std::uint32_t{1} << s);
        }
    }
    for (AffixAt& affix : affixes) {
        forms.Add(std::move(affix.key), Rule::AffixHeadword, kAffixTier, true, affix.groups, true);
    }
    return forms.Take();
}

std::string EsperantoIndexBase(std::string_view word) {
    std::string w(word);
    for (const NumberCase& rule : kNumberCase) {
        const std::size_t n = rule.ending.size();
        if (Letters(w) >= n + kMinRootLetters && w.ends_with(rule.ending) &&
            rule.after.find(w[w.size() - n - 1]) != std::string_view::npos) {
            w.resize(w.size() - n);
            break;
        }
    }
    if (IsEsperantoClosedWord(w) || !NumeralParts(w).empty()) {
        return w;
    }
    for (const std::string_view ending : kVerbEndings) {
        if (w.ends_with(ending) &&
            Letters(std::string_view(w).substr(0, w.size() - ending.size())) >= kMinRootLetters) {
            w.resize(w.size() - ending.size());
            w += 'i';
            return w;
        }
    }
    return w;
}

} // namespace forms

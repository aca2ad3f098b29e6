// SPDX-License-Identifier: GPL-2.0-or-later
// kelimbo-forms-coverage: how often an inflected form leads back to its
// headword. The sample is made from the dictionary's own headwords: Esperanto
// nouns, adjectives and verbs (by their endings) inflected by the language's
// rules, Russian headwords inflected by the suffix rules of the Hunspell
// dictionary that holds them. Each form is looked up as typed into the search
// box; it counts as reaching its headword when the list then shows that
// headword, among the range's lines or among the offered ones.
//
//   kelimbo-forms-coverage [--sample N] [--misses N] [--affixes PATH] DIR
//
// DIR holds a dictionary under the program's own file names. --sample takes N
// headwords per language at random (fixed seed; all by default), --misses
// prints up to N forms that did not reach their headword, --affixes names the
// Hunspell dictionary whose rules inflect the Russian headwords (without
// ".aff"/".dic"; the system's Russian one by default).

#include "affix_forms.h"
#include "dictbuild/dictionary_direction.h"
#include "errors/exc_msg.h"
#include "forms/esperanto_forms.h"
#include "forms/russian_stemmer.h"
#include "index/language_indexes.h"
#include "lookup/lookup_core.h"
#include "platform/code_page.h"
#include "platform/file_open.h"
#include "text/index_key.h"
#include "text/word_letter.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <iostream>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

using platform::FromUtf8;
using platform::ToUtf8;

struct Arguments {
    std::string dir;
    std::size_t sample = 0; // 0: every headword
    std::size_t misses = 0;
    std::string affixes = forms::kSystemRussianDictionary;
};

struct Tally {
    std::size_t headwords = 0;
    std::size_t forms = 0;
    std::size_t reached = 0;
    std::size_t first = 0;    // the headword on the list's first line
    std::size_t shadowed = 0; // the form itself begins headwords: no offered lines
};

struct Form {
    std::u16string typed;
    std::uint32_t position = 0; // the headword it should reach
};

std::optional<std::size_t> Number(const char* text) {
    std::size_t value = 0;
    const std::string_view s(text);
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    return error == std::errc() && end == s.data() + s.size() ? std::optional(value) : std::nullopt;
}

std::optional<Arguments> Parse(int argc, char** argv) {
    Arguments args;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--sample" || arg == "--misses") && i + 1 < argc) {
            const std::optional<std::size_t> n = Number(argv[++i]);
            if (!n) {
                return std::nullopt;
            }
            (arg == "--sample" ? args.sample : args.misses) = *n;
        } else if (arg == "--affixes" && i + 1 < argc) {
            args.affixes = argv[++i];
        } else if (args.dir.empty() && !arg.starts_with("--")) {
            args.dir = arg;
        } else {
            return std::nullopt;
        }
    }
    if (args.dir.empty()) {
        return std::nullopt;
    }
    if (args.dir.back() != '/') {
        args.dir += '/';
    }
    return args;
}

bool OnlyLetters(std::string_view key) {
    return !key.empty() && std::all_of(key.begin(), key.end(), is_key_letter);
}

std::string Lower(std::string key) {
    for (char& c : key) {
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return key;
}

// Letters of an x-system word, an accented letter's 'x' not counted.
std::size_t Letters(std::string_view key) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < key.size(); ++i) {
        n += key[i] == 'x' && i > 0 &&
                     std::string_view("cghjsuCGHJSU").find(key[i - 1]) != std::string_view::npos
                 ? 0
                 : 1;
    }
    return n;
}

// The headword positions to inflect: all, or a sample of them.
std::vector<std::uint32_t> Positions(const cIndex& index, std::size_t sample, unsigned seed) {
    std::vector<std::uint32_t> positions(index.Count());
    for (std::uint32_t p = 0; p < index.Count(); ++p) {
        positions[p] = p;
    }
    if (sample != 0 && sample < positions.size()) {
        std::mt19937 random(seed);
        std::shuffle(positions.begin(), positions.end(), random);
        positions.resize(sample);
        std::sort(positions.begin(), positions.end());
    }
    return positions;
}

// Esperanto: nouns in -o, adjectives in -a, verbs in -i, of four letters or
// more, without the closed words (nenio, kia …).
std::map<std::string, std::vector<Form>>
EsperantoSample(const cIndex& index, const std::vector<std::uint32_t>& positions,
                std::map<std::string, Tally>& tallies) {
    static const std::map<char, std::pair<std::string, std::vector<std::string>>> kClasses = {
        {'o', {"nouns", {"oj", "on", "ojn"}}},
        {'a', {"adjectives", {"aj", "an", "ajn"}}},
        {'i',
         {"verbs",
          {"as", "is", "os", "us", "u", "anta", "antaj", "intan", "ontajn", "ata", "itaj", "otan",
           "ante", "inte", "anto", "intoj"}}},
    };
    std::map<std::string, std::vector<Form>> sample;
    for (const std::uint32_t p : positions) {
        const std::string key(index.HeadwordText(p));
        if (!OnlyLetters(key) || Letters(key) < 4 || forms::IsEsperantoClosedWord(Lower(key))) {
            continue;
        }
        const auto found = kClasses.find(key.back());
        if (found == kClasses.end()) {
            continue;
        }
        const auto& [name, endings] = found->second;
        ++tallies[name].headwords;
        const std::string root = key.substr(0, key.size() - 1);
        for (const std::string& ending : endings) {
            sample[name].push_back({from_index_key(root + ending), p});
        }
    }
    return sample;
}

std::string Cp1251ToUtf8(std::string_view ansi) {
    return ToUtf8(from_index_key(ansi));
}

// Russian: single words the Hunspell dictionary holds, in small letters or as
// written, inflected by its rules; classed by their endings.
std::map<std::string, std::vector<Form>> RussianSample(const cIndex& index,
                                                       const std::vector<std::uint32_t>& positions,
                                                       const bench_data::AffixForms& affixes,
                                                       std::map<std::string, Tally>& tallies,
                                                       std::size_t& unknown) {
    std::map<std::string, std::vector<Form>> sample;
    for (const std::uint32_t p : positions) {
        const std::string key(index.HeadwordText(p));
        if (!OnlyLetters(key) || key.size() < 3 || static_cast<unsigned char>(key[0]) < 0xA8) {
            continue; // not one Cyrillic word
        }
        const std::string word = Cp1251ToUtf8(key);
        if (!affixes.Knows(word)) {
            ++unknown;
            continue;
        }
        const std::u16string wide = FromUtf8(word);
        const auto endsWith = [&](std::u16string_view e) { return wide.ends_with(e); };
        const std::string name = endsWith(u"ть") || endsWith(u"ться") || endsWith(u"чь") ? "verbs"
                                 : endsWith(u"ый") || endsWith(u"ий") || endsWith(u"ой")
                                     ? "adjectives"
                                     : "nouns";
        ++tallies[name].headwords;
        for (const std::string& form : affixes.Forms(word)) {
            const std::u16string typed = FromUtf8(form);
            sample[name].push_back({typed, p});
            // The same form as often written, with е for ё.
            std::u16string plain = typed;
            std::replace(plain.begin(), plain.end(), u'ё', u'е');
            if (plain != typed) {
                sample["ё written as е"].push_back({plain, p});
            }
        }
    }
    return sample;
}

void Measure(LookupCore& folder, const std::map<std::string, std::vector<Form>>& sample,
             std::map<std::string, Tally>& tallies, std::size_t& missesLeft) {
    for (const auto& [name, forms] : sample) {
        Tally& tally = tallies[name];
        for (const Form& form : forms) {
            const ListResult list = folder.List(form.typed, true);
            ++tally.forms;
            if (!list.lines.empty()) {
                ++tally.shadowed;
            }
            bool reached = false;
            for (std::size_t line = 0; line < list.LineCount() && !reached; ++line) {
                reached = list.Position(line) == form.position;
                tally.first += reached && line == 0 ? 1 : 0;
            }
            tally.reached += reached ? 1 : 0;
            if (!reached && missesLeft > 0) {
                --missesLeft;
                std::cout << "  miss (" << name << "): " << ToUtf8(form.typed) << " -> "
                          << (list.LineCount() == 0 ? std::string("(nothing)")
                              : !list.lines.empty() ? ToUtf8(list.lines.front()) + " …"
                                                    : ToUtf8(list.offeredLines.front()) + " …")
                          << "\n";
            }
        }
    }
}

double Percent(std::size_t part, std::size_t whole) {
    return whole == 0 ? 0.0 : 100.0 * static_cast<double>(part) / static_cast<double>(whole);
}

void Report(const char* language, const std::map<std::string, Tally>& tallies) {
    Tally all;
    std::printf("%s\n", language);
    for (const auto& [name, t] : tallies) {
        std::printf("  %-16s %7zu headwords %8zu forms  reached %8zu (%5.1f %%)  on the first line "
                    "%5.1f %%  range not empty %zu\n",
                    name.c_str(), t.headwords, t.forms, t.reached, Percent(t.reached, t.forms),
                    Percent(t.first, t.forms), t.shadowed);
        if (name != "ё written as е") {
            all.headwords += t.headwords;
            all.forms += t.forms;
            all.reached += t.reached;
            all.first += t.first;
            all.shadowed += t.shadowed;
        }
    }
    std::printf("  %-16s %7zu headwords %8zu forms  reached %8zu (%5.1f %%)  on the first line "
                "%5.1f %%  range not empty %zu\n",
                "all", all.headwords, all.forms, all.reached, Percent(all.reached, all.forms),
                Percent(all.first, all.forms), all.shadowed);
}

} // namespace

int main(int argc, char** argv) {
    const std::optional<Arguments> args = Parse(argc, argv);
    if (!args) {
        std::cerr
            << "usage: kelimbo-forms-coverage [--sample N] [--misses N] [--affixes PATH] DIR\n";
        return 2;
    }
    try {
        const std::string folder = platform::AnsiPath(args->dir);
        LookupCore lookup(folder);
        cIndexEo eo;
        cIndexRu ru;
        eo.Load((folder + FilesOf(Language::Esperanto).index).c_str());
        ru.Load((folder + FilesOf(Language::Russian).index).c_str());
        std::size_t missesLeft = args->misses;

        std::map<std::string, Tally> eoTallies;
        const auto eoSample = EsperantoSample(eo, Positions(eo, args->sample, 1), eoTallies);
        Measure(lookup, eoSample, eoTallies, missesLeft);
        Report("Esperanto", eoTallies);

        const bench_data::AffixForms affixes(args->affixes);
        std::map<std::string, Tally> ruTallies;
        std::size_t unknown = 0;
        const auto ruSample =
            RussianSample(ru, Positions(ru, args->sample, 2), affixes, ruTallies, unknown);
        missesLeft = args->misses;
        Measure(lookup, ruSample, ruTallies, missesLeft);
        Report("Russian", ruTallies);
        std::printf("  (%zu one-word headwords are not in the spelling dictionary and were left "
                    "out)\n",
                    unknown);
        return 0;
    } catch (const cExcMsg& e) {
        std::cerr << ToUtf8(e.GetMsg()) << "\n";
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "kelimbo-forms-coverage: " << e.what() << "\n";
        return 1;
    }
}

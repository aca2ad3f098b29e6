// SPDX-License-Identifier: GPL-2.0-or-later
// The bytes an import writes are those every earlier build wrote for the
// same input: the expected hashes below were taken from the build that still
// held every article in memory until the end, and an import streams since.
#include "dictbuild/dictionary_build.h"
#include "importing/import_writer.h"
#include "index/bsi_format.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>

namespace {

using testing_support::ReadBytes;
using testing_support::TempDir;

std::string Hash(std::string_view bytes) {
    const std::array<std::uint64_t, 2> hash = bsi::IdentityOf(bytes).hash;
    char hex[33];
    std::snprintf(hex, sizeof hex, "%016llx%016llx", static_cast<unsigned long long>(hash[1]),
                  static_cast<unsigned long long>(hash[0]));
    return hex;
}

// A word of 1-4 syllables from the letters given, drawn with a fixed seed.
std::string Word(std::mt19937& random, const std::vector<std::string>& consonants,
                 const std::vector<std::string>& vowels) {
    std::string word;
    for (auto syllables = 1 + random() % 4; syllables > 0; --syllables) {
        word += consonants[random() % consonants.size()] + vowels[random() % vowels.size()];
    }
    return word;
}

// Articles that meet every rule of the writing: repeated headwords, extra
// ones (some the same key as the first), entries cut into several spans,
// headwords of more than 255 articles, keys the order cannot find (an entry
// left with none goes, one whose first goes gets its second as its own),
// headwords with nothing left to look up.
std::vector<ImportedArticle> Articles(Language language, unsigned seed) {
    const bool eo = language == Language::Esperanto;
    const std::vector<std::string> consonants =
        eo ? std::vector<std::string>{"b", "ĉ", "d", "ĝ", "k", "l", "ŝ", "t", "ŭ", "s", "c", "h"}
           : std::vector<std::string>{"б", "в", "д", "ж", "к", "л", "м", "т", "щ"};
    const std::vector<std::string> vowels = eo ? std::vector<std::string>{"a", "e", "i", "o", "u"}
                                               : std::vector<std::string>{"а", "е", "ё", "и", "ю"};
    std::mt19937 random(seed);
    std::vector<std::string> seen;
    std::vector<ImportedArticle> articles;
    for (int n = 0; n < 1200; ++n) {
        std::string headword = Word(random, consonants, vowels);
        if (!seen.empty() && random() % 5 == 0) {
            headword = seen[random() % seen.size()];
        } else if (random() % 7 == 0) {
            headword += eo ? "-x" : "\u0301";
        }
        seen.push_back(headword);
        ImportedArticle article{{headword}, headword + "\n"};
        for (auto extra = random() % 3; extra > 0; --extra) {
            article.headwords.push_back(random() % 4 == 0 ? headword
                                                          : seen[random() % seen.size()]);
        }
        const std::size_t words = random() % 9 == 0 ? 900 : 3 + random() % 40;
        for (std::size_t w = 0; w < words; ++w) {
            article.text += Word(random, consonants, vowels) + (w % 12 == 11 ? "\n" : " ");
        }
        articles.push_back(std::move(article));
    }
    const std::string many = eo ? "multe" : "много";
    for (int n = 0; n < 258; ++n) {
        articles.push_back({{n % 2 == 0 ? many : seen[static_cast<std::size_t>(n)], many},
                            many + "\n" + std::to_string(n)});
    }
    articles.push_back({{"`"}, "` nothing to look up"});
    if (eo) {
        articles.push_back({{"a...b", "ab-c"}, "a...b\nfirst"});
        articles.push_back({{"abc"}, "abc\nsecond"});
        articles.push_back({{"ab-c"}, "ab-c\nafter its first, which became its own"});
        articles.push_back({{"k...t"}, "k...t\nleft out whole"});
        articles.push_back({{"kta"}, "kta"});
        articles.push_back({{"a-b"}, "a-b"});
    }
    return articles;
}

TEST(ImportBytes, AreThoseOfTheWholeInMemoryWriting) {
    const std::string eoText = "EoRu_kelimbo.txt", eoIndex = "EoRu_kelimbo.bsi";
    const std::string ruText = "tarnesk_rusa_esperanto.txt", ruIndex = "tarnesk_rusa_esperanto.bsi";
    const struct {
        const char* what;
        std::function<std::string(const std::filesystem::path&)> write; // gives its reports
        std::vector<std::pair<std::string, std::string>> files;         // name, hash
        std::string reports;                                            // their hash
    } table[] = {
        {"both directions imported",
         [](const std::filesystem::path& out) {
             std::vector<ImportedDirection> directions{
                 {Language::Esperanto, "Fonto: provo\nLicenco: nenia",
                  Articles(Language::Esperanto, 7)},
                 {Language::Russian, "Источник: проба", Articles(Language::Russian, 11)}};
             std::string said;
             for (const DirectionReport& report :
                  WriteImportedDirections(std::move(directions), out)) {
                 said += DescribeDirection(report);
             }
             return said;
         },
         {{eoText, "9b31c197e21902acefa833aeb3aef300"},
          {eoIndex, "39d62491982b2eac56e77697bb75bcfb"},
          {ruText, "19ba6a7d07a41e8aca7edcb2ef6e2398"},
          {ruIndex, "136d954815332e147aae015dd54d8dba"}},
         "5cf2e8b3f1fdd82e2aa13434b94ac168"},
        {"a source's articles built",
         [](const std::filesystem::path& out) {
             std::vector<SourceArticle> source;
             std::size_t line = 0;
             for (ImportedArticle& article : Articles(Language::Russian, 5)) {
                 if (std::count(article.headwords.begin(), article.headwords.end(), "`") +
                             std::count(article.headwords.begin(), article.headwords.end(),
                                        "много") >
                         0 ||
                     article.text.size() > 2000) {
                     continue; // what the build refuses outright
                 }
                 SourceArticle a{++line, article.headwords.front(), article.text, {}};
                 a.extraHeadwords.assign(article.headwords.begin() + 1, article.headwords.end());
                 source.push_back(std::move(a));
             }
             const BuildSummary summary = BuildFromSource(Language::Russian, source, out);
             return std::to_string(summary.articles) + " " + std::to_string(summary.headwords) +
                    " " + std::to_string(summary.textBytes) + " " +
                    std::to_string(summary.indexBytes);
         },
         {{ruText, "a4e5f943b65bb39848f2bb2b67dc92f2"},
          {ruIndex, "8844a58519c7d7b14aad9449062c77f6"}},
         "a2f93129db9fbe607f8274027432a9cb"},
    };
    for (const auto& c : table) {
        TempDir dir;
        const std::string said = c.write(dir.Path());
        for (const auto& [name, hash] : c.files) {
            EXPECT_EQ(Hash(ReadBytes(dir.File(name))), hash) << c.what << ": " << name;
        }
        EXPECT_EQ(Hash(said), c.reports) << c.what << ":\n" << said;
    }
}

} // namespace

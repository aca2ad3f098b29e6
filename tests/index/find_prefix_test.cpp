// SPDX-License-Identifier: GPL-2.0-or-later
#include "index/language_indexes.h"
#include "support/index_files.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using index_files::LoadWords;
using index_files::Texts;
using testing_support::Cp1251;
using testing_support::TempDir;

struct LookupCase {
    std::string query;
    std::vector<std::string> expected; // in any order
};

void ExpectLookups(const cIndex& index, const std::vector<LookupCase>& cases) {
    for (const auto& c : cases) {
        std::vector<std::string> found = Texts(index, index.FindPrefix(c.query));
        std::vector<std::string> expected = c.expected;
        std::sort(found.begin(), found.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(found, expected) << "query " << c.query;
        if (expected.empty()) {
            EXPECT_EQ(index.FindPrefix(c.query), (HeadwordRange{0, 0})) << "query " << c.query;
        }
    }
}

TEST(FindPrefix, RussianIndex) {
    const std::vector<std::string> words = {Cp1251("ежевика"),
                                            Cp1251("ёж"),
                                            Cp1251("Ёжик"),
                                            Cp1251("ЁЖИК"),
                                            Cp1251("ёлка"),
                                            Cp1251("жук"),
                                            Cp1251("абв"),
                                            "A",
                                            "a",
                                            "abc",
                                            "ab",
                                            "9",
                                            "Z",
                                            Cp1251("яма")};
    TempDir dir;
    cIndexRu index;
    LoadWords(index, dir, words);
    ASSERT_EQ(index.Count(), words.size());
    // Digits and Latin come before every Cyrillic headword.
    EXPECT_EQ(Texts(index, {0, 6}), (std::vector<std::string>{"9", "A", "Z", "a", "ab", "abc"}));

    const auto yozh = std::vector<std::string>{Cp1251("ёж"), Cp1251("Ёжик"), Cp1251("ЁЖИК")};
    ExpectLookups(index,
                  {
                      {Cp1251("ёж"), yozh},
                      {Cp1251("ЁЖ"), yozh},
                      {Cp1251("Ёж"), yozh},
                      {Cp1251("е"), {Cp1251("ежевика")}},
                      {Cp1251("ё"), {Cp1251("ёж"), Cp1251("Ёжик"), Cp1251("ЁЖИК"), Cp1251("ёлка")}},
                      {"A", {"A"}},
                      {"a", {"a", "ab", "abc"}},
                      {"abc", {"abc"}},
                      {"", words},
                      {Cp1251("ямы"), {}},
                      {Cp1251("яя"), {}},
                      {"0", {}},
                      {Cp1251("жука"), {}},
                  });
}

const std::vector<std::string> kEsperantoWords = {
    "c",    "cedi", "cz",   "cxapelo", "Cxina",     "CXAPELO", "d",       "ab",     "abc",
    "a-bc", "mal-", "mala", "malbona", "malcxasta", "male",    "malebla", "maleta", "malf",
};

TEST(FindPrefix, EsperantoIndex) {
    TempDir dir;
    cIndexEo index;
    LoadWords(index, dir, kEsperantoWords);
    const std::vector<std::string> cWords = {"c", "cedi", "cz",
                                             "CXAPELO"}; // capital X marks nothing
    const std::vector<std::string> malWords = {"mal-", "mala",    "malbona", "malcxasta",
                                               "male", "malebla", "maleta",  "malf"};
    ExpectLookups(index, {
                             {"c", cWords},
                             {"C", cWords},
                             {"cx", {"cxapelo", "Cxina"}},
                             {"CX", {"CXAPELO"}},
                             {"ab", {"ab", "abc", "a-bc"}},
                             {"a-b", {"abc", "a-bc"}},
                             {"abc", {"abc", "a-bc"}},
                             {"mal", malWords},
                             {"mal-", malWords},
                             {"male", {"male", "malebla", "maleta"}},
                             {"-", kEsperantoWords},
                             {"", kEsperantoWords},
                             {"e", {}},
                             {"zz", {}},
                         });
}

// The lookup as it would be if the comparator added no length test of its own.
struct x_less_without_stripped_length final : pro_less {
    bool less(std::string_view a, std::string_view b) const override { return order.less(a, b); }
    int compare(std::string_view a, std::string_view b) const override {
        return order.compare(a, b);
    }
    bool long_enough(std::string_view, std::string_view) const override { return true; }
    x_less order;
};

class IndexWithoutStrippedLength : public cIndex {
public:
    const pro_less& GetLess() const override { return m_less; }

private:
    x_less_without_stripped_length m_less;
};

TEST(FindPrefix, AffixDoesNotPassForAMatchOfALongerQuery) {
    std::vector<std::string> words = {"mal-", "male", "malebla", "maleta", "malfermi"};
    for (const char* root : {"a", "b", "cx", "d"}) {
        for (const char* ending : {"", "o", "a", "ulo", "eco"}) {
            words.push_back(std::string("mal") + root + ending);
        }
    }
    // As many words before 'mal-' as after it, so that the first probe meets it.
    for (int k = 0; k < 24; ++k) {
        words.push_back("birdo" + std::to_string(10 + k));
    }
    TempDir dir;
    cIndexEo index;
    LoadWords(index, dir, words);
    ASSERT_EQ(index.HeadwordText(index.Count() / 2), "mal-");
    const HeadwordRange range = index.FindPrefix("male");
    EXPECT_EQ(Texts(index, range), (std::vector<std::string>{"male", "malebla", "maleta"}));

    // Counting 'mal-' as long enough for 'male' drags in the words between them.
    TempDir otherDir;
    IndexWithoutStrippedLength unfixed;
    LoadWords(unfixed, otherDir, words);
    const std::vector<std::string> dragged = Texts(unfixed, unfixed.FindPrefix("male"));
    EXPECT_EQ(dragged.front(), "mal-");
    EXPECT_GT(dragged.size(), 3u);
}

TEST(FindPrefix, IndexWithoutHeadwordsFindsNothing) {
    TempDir dir;
    cIndexRu loaded;
    LoadWords(loaded, dir, {});
    const cIndexEo neverLoaded;
    for (const char* query : {"", "a", "-"}) {
        EXPECT_EQ(loaded.FindPrefix(query), (HeadwordRange{0, 0}));
        EXPECT_EQ(neverLoaded.FindPrefix(query), (HeadwordRange{0, 0}));
    }
}

TEST(FindPrefix, EmptyHeadwordIsFoundOnlyByTheEmptyQuery) {
    TempDir dir;
    cIndexEo index;
    LoadWords(index, dir, {"", "a", "b"});
    EXPECT_EQ(index.FindPrefix(""), (HeadwordRange{0, 3}));
    EXPECT_EQ(Texts(index, index.FindPrefix("-")), (std::vector<std::string>{"a", "b"}));
}

} // namespace

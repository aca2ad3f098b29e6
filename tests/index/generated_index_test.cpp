// SPDX-License-Identifier: GPL-2.0-or-later
// Indexes of a few thousand generated headwords per language, checked against
// the plain step-by-step orderings and against a linear scan over all headwords.

#include "headword_generator.h"
#include "index/language_indexes.h"
#include "reference_order.h"
#include "support/index_files.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

using reference::Language;

constexpr std::size_t kHeadwords = 3000;
constexpr std::uint32_t kSeed = 20240601;

class GeneratedIndex : public testing::TestWithParam<Language> {
protected:
    void SetUp() override {
        if (GetParam() == Language::Russian) {
            index = std::make_unique<cIndexRu>();
        } else {
            index = std::make_unique<cIndexEo>();
        }
        words = generated::Headwords(GetParam(), kHeadwords, kSeed);
        index_files::LoadWords(*index, dir, words);
        for (std::uint32_t k = 0; k < index->Count(); ++k) {
            table.push_back(index->GetHeadword(k));
        }
    }

    bool HasIgnoredPunctuation(const std::string& s) const {
        return GetParam() == Language::Esperanto && reference::Stripped(s) != s;
    }

    // FindPrefix against a scan of the whole table, one headword after the
    // other. The range ends where the headwords that compare equal to the query
    // end, and begins at the first headword that begins with the query. For a
    // query without ignored punctuation every headword in between begins with
    // it. Ignored punctuation counts in the query's byte length, so headwords
    // too short for it may lie inside the range; and a query of punctuation
    // alone compares equal to every headword, so its range may begin at any
    // headword long enough for it.
    void ExpectTheScansRange(const std::vector<std::string>& queries) {
        for (const std::string& query : queries) {
            std::vector<std::uint32_t> matching;
            std::uint32_t equalEnd = 0;
            for (std::uint32_t k = 0; k < table.size(); ++k) {
                if (reference::Compare(GetParam(), query, table[k]) == 0) {
                    equalEnd = k + 1;
                    if (reference::Matches(GetParam(), query, table[k])) {
                        matching.push_back(k);
                    }
                }
            }
            const HeadwordRange found = index->FindPrefix(query);
            if (matching.empty()) {
                EXPECT_EQ(found, (HeadwordRange{0, 0})) << query;
                continue;
            }
            EXPECT_EQ(found.last, equalEnd) << query;
            if (!HasIgnoredPunctuation(query)) {
                EXPECT_EQ(found.first, matching.front()) << query;
                EXPECT_EQ(matching.size(), found.last - found.first) << "gap for " << query;
            } else if (!reference::Stripped(query).empty()) {
                EXPECT_EQ(found.first, matching.front()) << query;
            } else {
                EXPECT_TRUE(std::binary_search(matching.begin(), matching.end(), found.first))
                    << query;
            }
        }
    }

    testing_support::TempDir dir;
    std::unique_ptr<cIndex> index;
    std::vector<std::string> words; // in input order
    std::vector<std::string> table; // in the index's order
};

TEST_P(GeneratedIndex, TableHoldsEveryHeadwordWithItsReferencesInAscendingOrder) {
    ASSERT_EQ(table.size(), words.size());
    for (std::size_t k = 0; k + 1 < table.size(); ++k) {
        EXPECT_FALSE(reference::Less(GetParam(), table[k + 1], table[k])) << k;
    }
    // Each headword's references name its place in the input.
    for (std::uint32_t k = 0; k < index->Count(); ++k) {
        const std::vector<ArticleRef> refs = index->GetRefs(k);
        for (std::size_t r = 0; r < refs.size(); ++r) {
            const std::size_t input = refs[r].start / 1000;
            ASSERT_LT(input, words.size());
            EXPECT_EQ(words[input], table[k]);
            EXPECT_EQ(refs[r].start, 1000 * input + r);
            EXPECT_EQ(refs.size(), input % 3);
        }
    }
}

TEST_P(GeneratedIndex, EveryHeadwordFindsItself) {
    for (std::uint32_t k = 0; k < table.size(); ++k) {
        if (HasIgnoredPunctuation(table[k])) {
            continue;
        }
        const HeadwordRange range = index->FindPrefix(table[k]);
        EXPECT_LE(range.first, k) << table[k];
        EXPECT_LT(k, range.last) << table[k];
    }
}

TEST_P(GeneratedIndex, RangeHoldsExactlyTheHeadwordsThatBeginWithTheQuery) {
    const std::vector<std::string> queries = generated::Queries(GetParam(), words, 1000, kSeed + 1);
    for (const std::string& query : queries) {
        ASSERT_FALSE(HasIgnoredPunctuation(query));
    }
    ExpectTheScansRange(queries);
}

TEST_P(GeneratedIndex, RangeIsTheLinearScansForQueriesWithIgnoredPunctuation) {
    std::vector<std::string> queries = generated::Queries(GetParam(), words, 300, kSeed + 2);
    const std::vector<std::string> punctuated = generated::PunctuatedQueries(words, 500, kSeed + 3);
    queries.insert(queries.end(), punctuated.begin(), punctuated.end());
    ExpectTheScansRange(queries);
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, GeneratedIndex,
                         testing::Values(Language::Russian, Language::Esperanto),
                         [](const testing::TestParamInfo<Language>& param) {
                             return param.param == Language::Russian ? "Russian" : "Esperanto";
                         });

} // namespace

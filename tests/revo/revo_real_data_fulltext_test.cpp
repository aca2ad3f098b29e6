// SPDX-License-Identifier: GPL-2.0-or-later
// Full-text search on a full copy of Reta Vortaro, as a reader would try it:
// a Russian word that no Russian headword has but Esperanto articles hold,
// an Esperanto verb in its other forms, and a phrase. Skipped when there is
// no copy.
#include "importing/import_writer.h"
#include "lookup/lookup_core.h"
#include "platform/code_page.h"
#include "revo/revo_import.h"
#include "revo/revo_parser.h"
#include "revo_real_data_copy.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using platform::FromUtf8;
using platform::ToUtf8;
using testing_support::TempDir;

std::vector<FullTextHit> AllHits(LookupCore& core, const char* query) {
    std::vector<FullTextHit> hits;
    for (std::size_t page = 0;; ++page) {
        FullTextPage result = core.FullText().Search(FromUtf8(query), page);
        EXPECT_TRUE(result.problems.empty()) << query;
        EXPECT_TRUE(result.error.empty()) << query;
        for (FullTextHit& hit : result.hits) {
            hits.push_back(std::move(hit));
        }
        if (!result.more) {
            return hits;
        }
    }
}

bool Has(const std::vector<FullTextHit>& hits, const char* headword, bool esperanto) {
    return std::any_of(hits.begin(), hits.end(), [&](const FullTextHit& hit) {
        return ToUtf8(hit.headword) == headword && hit.esperanto == esperanto;
    });
}

TEST(RevoRealData, FullTextSearchFindsWordsFormsAndPhrases) {
    const std::filesystem::path copy = RevoCopy();
    if (const std::string missing = MissingRevoCopy(copy); !missing.empty()) {
        GTEST_SKIP() << missing;
    }
    const RevoFolders folders = LocateRevo(copy, std::nullopt);
    RevoParser parser(folders.dtd);
    TempDir dir;
    WriteRevoDirections(ImportRevo(folders.xml, parser), dir.Path());
    LookupCore core(dir.AnsiPath(""));
    core.FullText().Rebuild(0, true);
    core.FullText().Rebuild(0, false);

    // «умный»: the Esperanto entries whose Russian text holds it.
    const std::vector<FullTextHit> clever = AllHits(core, "умный");
    EXPECT_TRUE(Has(clever, "terminalo", true));
    for (const FullTextHit& hit : clever) {
        ASSERT_FALSE(hit.marks.empty()) << ToUtf8(hit.headword);
        EXPECT_EQ(ToUtf8(hit.snippet.substr(hit.marks[0].start, 5)), "умный");
    }

    // ŝati: the entries whose definitions or examples use the verb, in any form.
    const std::vector<FullTextHit> like = AllHits(core, "ŝati");
    EXPECT_GT(like.size(), 50u);
    EXPECT_TRUE(Has(like, "ŝati", true));
    EXPECT_TRUE(Has(like, "adori", true));
    std::size_t otherForms = 0;
    for (const FullTextHit& hit : like) {
        for (const TextRange& mark : hit.marks) {
            const std::string word = ToUtf8(hit.snippet.substr(mark.start, mark.end - mark.start));
            otherForms += word != "ŝati" && word.starts_with("ŝat");
        }
    }
    EXPECT_GT(otherForms, 10u); // ŝatas, ŝatis, ŝatus…

    // "bona tago": the phrase, in its forms (bonan tagon), in this order.
    const std::vector<FullTextHit> phrase = AllHits(core, "\"bona tago\"");
    EXPECT_TRUE(Has(phrase, "bona", true));
    EXPECT_LT(phrase.size(), AllHits(core, "bona tago").size());
}

} // namespace

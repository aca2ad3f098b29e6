// SPDX-License-Identifier: GPL-2.0-or-later
// Damaged full-text indexes through the search: cut, with bytes changed, and
// written over while a search has the index open. Each search gives hits
// whose articles lie inside the text, or tells the index's problem, and never
// crashes; ordinary lookup goes on regardless.
#include "articles/dictionary_files.h"
#include "damage.h"
#include "dictbuild/dictionary_build.h"
#include "lookup/lookup_core.h"
#include "platform/code_page.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

using testing_support::TempDir;

class DamagedFullTextIndex : public ::testing::Test {
protected:
    void SetUp() override {
        std::string tsv;
        for (int n = 0; n < 300; ++n) {
            const std::string word = "vorto" + std::to_string(n);
            tsv += word + "\t" + word + " la kato kaj la hundo " + std::to_string(n % 7) +
                   " bonan tagon\n";
        }
        std::istringstream in(tsv);
        BuildFromTsv(Language::Esperanto, in, "test.tsv", dir.Path());
        LookupCore core(dir.AnsiPath(""));
        core.FullText().Rebuild(0, true);
        good = testing_support::ReadBytes(dir.File(kEsperantoFiles.fulltext));
        textSize = std::filesystem::file_size(dir.File(kEsperantoFiles.text));
    }

    // A search on a fresh core: hits inside the text, or a told problem.
    void ExpectSoundAnswer(LookupCore& core, const std::string& what) {
        for (const char16_t* query : {u"kato", u"\"bona tago\"", u"hundo 3"}) {
            const FullTextPage page = core.FullText().Search(query, 0);
            for (const FullTextHit& hit : page.hits) {
                for (const ArticleRef& ref : hit.refs) {
                    ASSERT_LE(ref.end, textSize) << what;
                }
            }
            for (const FullTextStatus& problem : page.problems) {
                EXPECT_NE(problem.state, FullTextState::Ready) << what;
                EXPECT_FALSE(problem.message.empty()) << what;
            }
            EXPECT_EQ(core.FullText().Search(query, 3).hits.size() <= kFullTextPageSize, true);
        }
        EXPECT_EQ(core.List(u"vorto1").LineCount(), 50u) << what; // lookup unharmed
    }

    TempDir dir;
    std::string good;
    std::uint64_t textSize = 0;
};

TEST_F(DamagedFullTextIndex, CutOrChangedFilesAnswerOrAreTold) {
    const std::filesystem::path index = dir.File(kEsperantoFiles.fulltext);
    std::vector<damage::Variant> variants;
    for (std::size_t n = 0; n < good.size(); n += good.size() / 40 + 1) {
        variants.push_back({"cut at " + std::to_string(n), good.substr(0, n)});
    }
    for (damage::Variant& variant : damage::FlippedBytes(good, 400, 27)) {
        variants.push_back(std::move(variant));
    }
    std::size_t told = 0;
    for (const damage::Variant& variant : variants) {
        testing_support::WriteBytes(index, variant.bytes);
        LookupCore core(dir.AnsiPath(""));
        ExpectSoundAnswer(core, variant.name);
        told += core.FullText().Statuses().front().state != FullTextState::Ready;
    }
    EXPECT_GT(told, 40u); // every cut at least
}

TEST_F(DamagedFullTextIndex, WrittenOverWhileOpenAnswersOrIsTold) {
    const std::filesystem::path index = dir.File(kEsperantoFiles.fulltext);
    LookupCore core(dir.AnsiPath(""));
    ASSERT_EQ(core.FullText().Search(u"kato", 0).hits.size(), kFullTextPageSize);
    damage::FileInPlace file(index, good);
    for (const damage::ByteChanges& changes : damage::FlippedByteChanges(good.size(), 200, 5)) {
        file.Change(changes);
        ExpectSoundAnswer(core, changes.name);
        file.Undo(changes);
    }
    for (std::size_t n = good.size(); n > 0; n -= std::min(n, good.size() / 20 + 1)) {
        file.CutTo(n);
        ExpectSoundAnswer(core, "cut at " + std::to_string(n));
    }
}

} // namespace

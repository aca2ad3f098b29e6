// SPDX-License-Identifier: GPL-2.0-or-later
// Debian's Esperanto–English FreeDict dictionary (dict-freedict-epo-eng)
// imported as the Esperanto direction: headword count, the index check and
// well-known words as the search window finds them. Skipped when the package's
// files are absent.
#include "dictbuild/index_check.h"
#include "lookup/lookup_core.h"
#include "formats/format_import.h"
#include "platform/code_page.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using platform::FromUtf8;
using platform::ToUtf8;
using testing_support::TempDir;

TEST(FormatImportRealData, FreeDictEsperantoEnglishAsTheEsperantoDirection) {
    const fs::path index = "/usr/share/dictd/freedict-epo-eng.index";
    if (!fs::exists(index) || !fs::exists("/usr/share/dictd/freedict-epo-eng.dict.dz")) {
        GTEST_SKIP() << "dict-freedict-epo-eng is not installed (no " << index << ")";
    }
    TempDir out;
    formats::ImportRequest request;
    request.format = formats::Format::Dictd;
    request.source = index;
    request.language = Language::Esperanto;
    request.outDir = out.Path();
    const formats::FormatImport result = formats::ImportDictionary(request);

    // The dictionary says "Size: 63477 headwords"; a few percent either way.
    EXPECT_GT(result.report.headwords, 61500u);
    EXPECT_LT(result.report.headwords, 65500u);
    EXPECT_LT(result.report.leftOutCount, 100u);
    EXPECT_EQ(result.otherScript, 0u);
    const IndexCheck check = CheckIndex(Language::Esperanto, out.AnsiPath(kEsperantoFiles.index),
                                        out.File(kEsperantoFiles.text));
    EXPECT_EQ(check.problemCount, 0u) << check.problems.front();

    for (const DictionaryFiles files : {kRussianFiles}) {
        fs::copy_file(fs::path(KELIMBO_SAMPLE_DIR) / files.text, out.File(files.text));
        fs::copy_file(fs::path(KELIMBO_SAMPLE_DIR) / files.index, out.File(files.index));
    }
    const struct {
        const char* typed;
        const char* headline; // the first article begins so
        const char* holds;
    } words[] = {
        {"hundo", "hundo |h'undo|", "dog, hound"},
        {"kato", "kato |k'ato|", "cat"},
        {"cxevalo", "\u0109evalo |tshev'alo|", "horse, steed"},
        {"najrobo", "Najrobo", "Nairobi"},
        {"reta fluigilo", "reta fluigilo", "network streamer"},
    };
    LookupCore folder(out.AnsiPath(""));
    for (const auto& word : words) {
        const ListResult list = folder.List(FromUtf8(word.typed));
        ASSERT_FALSE(list.lines.empty()) << word.typed;
        const std::string article = ToUtf8(folder.Article(list, 0));
        EXPECT_TRUE(article.starts_with(word.headline)) << word.typed << ":\n" << article;
        EXPECT_NE(article.find(word.holds), std::string::npos) << word.typed << ":\n" << article;
    }
}

} // namespace

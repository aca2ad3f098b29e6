// SPDX-License-Identifier: GPL-2.0-or-later
// The import of a full copy of Reta Vortaro (KELIMBO_REVO_DIR, from CMake or the environment):
// headword counts, the check of the files, and well-known words in both
// directions. Skipped when there is no such copy.
#include "dictbuild/index_check.h"
#include "importing/import_writer.h"
#include "lookup/lookup_core.h"
#include "platform/code_page.h"
#include "revo/revo_import.h"
#include "revo/revo_parser.h"
#include "revo_real_data_copy.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

using platform::FromUtf8;
using platform::ToUtf8;
using testing_support::TempDir;

void ExpectNear(std::size_t count, double expected, const char* what) {
    EXPECT_GE(static_cast<double>(count), expected * 0.97) << what;
    EXPECT_LE(static_cast<double>(count), expected * 1.03) << what;
}

TEST(RevoRealData, ImportsBothDirections) {
    const std::filesystem::path copy = RevoCopy();
    if (const std::string missing = MissingRevoCopy(copy); !missing.empty()) {
        GTEST_SKIP() << missing;
    }
    const RevoFolders folders = LocateRevo(copy, std::nullopt);
    RevoParser parser(folders.dtd);
    RevoImport revo = ImportRevo(folders.xml, parser);
    EXPECT_TRUE(revo.skipped.empty())
        << revo.skipped.front().name << ": " << revo.skipped.front().reason;
    EXPECT_GT(revo.files, 12000u);

    TempDir dir;
    const std::vector<DirectionReport> reports = WriteRevoDirections(std::move(revo), dir.Path());

    // One entry per derivation, one per distinct Russian translation; the
    // index adds variants and indexed words.
    ExpectNear(reports[0].entries, 30600, "Esperanto entries");
    ExpectNear(reports[1].entries, 25000, "Russian entries");
    ExpectNear(reports[0].headwords, 32850, "Esperanto headwords");
    ExpectNear(reports[1].headwords, 25800, "Russian headwords");
    EXPECT_EQ(reports[0].leftOutCount + reports[1].leftOutCount, 0u);

    for (const auto& [language, name] : {std::pair{Language::Esperanto, "EoRu_kelimbo"},
                                         {Language::Russian, "tarnesk_rusa_esperanto"}}) {
        const IndexCheck check = CheckIndex(language, dir.AnsiPath(std::string(name) + ".bsi"),
                                            dir.File(std::string(name) + ".txt"));
        EXPECT_EQ(check.problemCount, 0u) << name << ": " << check.problems.front();
    }

    // Well-known words: what the reader shows for each holds the expected words.
    const struct {
        const char* typed;
        std::vector<const char*> shown;
    } words[] = {
        {"hundo", {"собака", "пёс"}},
        {"lingvo", {"язык"}},
        {"sxati", {"ценить", "любить"}},
        {"kato", {"кошка"}},
        {"domo", {"дом"}},
        {"akvo", {"вода"}},
        {"libro", {"книга"}},
        {"granda", {"большой"}},
        {"iri", {"идти"}},
        {"tago", {"день"}},
        {"urbo", {"город"}},
        {"suno", {"солнце"}},
        {"mangxi", {"есть"}},
        // Roots with variants: the tilde is the head's root, the variants
        // are headwords of their own.
        {"idealo", {"идеал", "perfekteco"}},
        {"ideala", {"идеальный"}},
        {"idealismo", {"idealismo\r\nидеализм"}},
        {"reala", {"реальный"}},
        {"realigi", {"реализовать"}},
        {"arhxitekto", {"архитектор"}},
        {"arkitekto", {"архитектор"}},
        {"patrioto", {"патриот"}},
        {"egoismo", {"эгоизм"}},
        // No Russian yet: the Esperanto definition.
        {"oni", {"(перевода нет)", "Persona nedifinita pronomo"}},
        // Every sense and subsense, with its definition and examples.
        {"fari",
         {"делать", "1. Estigi", "a) Estigi objekton", "la lignaĵisto faras tablojn", "3. Agi",
          "c) Agi, ne resti senfara"}},
        {"esti", {"быть", "1. Ekzisti", "4. Stati", "5. Stati"}},
        {"iri", {"идти", "1. Moviĝi", "5. перен. Prospere"}},
        {"bona", {"1. хороший", "2. (iu) Kompetenta", "5. добрый"}},
        {"собака", {"hundo"}},
        {"язык", {"lingvo", "lango"}},
        {"любить", {"ami", "ŝati"}},
        {"коса", {"falĉilo", "terlango", "harplektaĵo"}},
        {"дом", {"domo"}},
        {"вода", {"akvo"}},
        {"книга", {"libro"}},
        {"город", {"urbo"}},
        {"день", {"tago"}},
        {"хороший", {"bona"}},
        {"идти", {"iri"}},
        {"солнце", {"suno"}},
    };
    LookupCore folder(dir.AnsiPath(""));
    for (const auto& word : words) {
        const ListResult list = folder.List(FromUtf8(word.typed));
        ASSERT_FALSE(list.lines.empty()) << word.typed;
        const std::string article = ToUtf8(folder.Article(list, 0));
        // The line's headword is named in the article's head line.
        EXPECT_NE(article.substr(0, article.find('\r')).find(ToUtf8(list.lines[0])),
                  std::string::npos)
            << article;
        for (const char* expected : word.shown) {
            EXPECT_NE(article.find(expected), std::string::npos)
                << word.typed << " lacks " << expected << ":\n"
                << article;
        }
    }
}

} // namespace

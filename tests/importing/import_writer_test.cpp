// SPDX-License-Identifier: GPL-2.0-or-later
#include "dictbuild/index_check.h"
#include "lookup/lookup_core.h"
#include "importing/import_writer.h"
#include "platform/code_page.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

using platform::FromUtf8;
using platform::ToUtf8;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

// What the reader shows for one article: CR LF line ends, one after the end.
std::string Shown(std::string text) {
    std::string shown;
    for (const char c : text) {
        shown += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    return shown + "\r\n";
}

ImportedDirection Direction(Language language, std::vector<ImportedArticle> articles) {
    return {language, "Note: test data\nLicence: none", std::move(articles)};
}

TEST(WriteImportedDirections, TheReaderShowsWhatWasImported) {
    // Each text is written as an article of its first word and read back through
    // the index and the reader, as the program shows it.
    const struct {
        Language language;
        std::string text;
        std::string shown;
    } table[] = {
        // An x after a base letter is not joined with it into an Esperanto letter.
        {Language::Esperanto, "teksto\nLinux, Sussex, cx, CX, ĉx, hund/o",
         "teksto\nLinux, Sussex, cx, CX, ĉx, hund|o"},
        {Language::Esperanto, "ĉas\x1Fhund\x1Fo\nохотничья собака `x`",
         "ĉashundo\nохотничья собака 'x'"},
        {Language::Esperanto, "n×p\nα", "nxp\nalpha"},
        {Language::Russian, "доро́га\nvojo km/h, ĉx", "дорога\nvojo km/h, ĉx"},
        {Language::Russian, "мар\x1Fка\nmarko", "марка\nmarko"},
    };
    for (const auto& c : table) {
        TempDir dir;
        const std::string headword = c.text.substr(0, c.text.find('\n'));
        const auto reports = WriteImportedDirections(
            {Direction(Language::Esperanto, {{{c.language == Language::Esperanto ? headword : "a"},
                                              c.language == Language::Esperanto ? c.text : "a"}}),
             Direction(Language::Russian, {{{c.language == Language::Russian ? headword : "б"},
                                            c.language == Language::Russian ? c.text : "б"}})},
            dir.Path());
        LookupCore folder(dir.AnsiPath(""));
        const std::string shownHeadword = c.shown.substr(0, c.shown.find('\n'));
        const ListResult list = folder.List(FromUtf8(shownHeadword));
        ASSERT_EQ(list.lines.size(), 1u) << c.text;
        EXPECT_EQ(ToUtf8(list.lines[0]), shownHeadword);
        EXPECT_EQ(ToUtf8(folder.Article(list, 0)), Shown(c.shown)) << c.text;
        for (const DirectionReport& report : reports) {
            EXPECT_EQ(report.spans, 1u);
            EXPECT_EQ(report.headwords, 1u);
        }
    }
}

TEST(WriteImportedDirections, TheNoteOpensTheFileAndNoHeadwordPointsAtIt) {
    TempDir dir;
    WriteImportedDirections({Direction(Language::Esperanto, {{{"a"}, "a\nб"}}),
                             Direction(Language::Russian, {{{"б"}, "б\na"}})},
                            dir.Path());
    for (const auto& [language, name] : {std::pair{Language::Esperanto, "EoRu_kelimbo"},
                                         {Language::Russian, "tarnesk_rusa_esperanto"}}) {
        const std::string text = ReadBytes(dir.File(std::string(name) + ".txt"));
        EXPECT_EQ(text.rfind("Note: test data\nLicence: none\n\n", 0), 0u) << name;
        const IndexCheck check = CheckIndex(language, dir.AnsiPath(std::string(name) + ".bsi"),
                                            dir.File(std::string(name) + ".txt"));
        EXPECT_EQ(check.problemCount, 0u) << name;
        EXPECT_EQ(check.references, 1u) << name;
    }
    LookupCore folder(dir.AnsiPath(""));
    EXPECT_EQ(ToUtf8(folder.Article(folder.List(u"a"), 0)), "a\r\nб\r\n");
}

TEST(WriteImportedDirections, LeavesOutHeadwordsTheIndexCannotTakeAndSaysWhy) {
    ImportedDirection direction = Direction(Language::Russian, {});
    const std::string tooLong(256, 'z');
    direction.articles.push_back({{"слово", tooLong, "слово", "слово\x1F"}, "слово\nvorto"});
    direction.articles.push_back({{tooLong}, "lost\nthe article has no headword left"});
    for (int i = 0; i < 255; ++i) {
        direction.articles.push_back({{"много"}, "много\n" + std::to_string(i)});
    }
    direction.articles.push_back({{"ещё", "много"}, "ещё\nthe 256th article of много"});
    const PreparedDirection prepared = PrepareDirection(direction);
    EXPECT_EQ(prepared.report.leftOutCount, 3u);
    ASSERT_EQ(prepared.report.leftOut.size(), 3u);
    EXPECT_NE(prepared.report.leftOut[0].find("longer than 255 bytes"), std::string::npos);
    EXPECT_NE(prepared.report.leftOut[2].find("\"много\": more than 255 articles"),
              std::string::npos);
    ASSERT_EQ(prepared.articles.size(), 257u); // all but the article without headwords
    EXPECT_EQ(prepared.articles[0].headword, "слово");
    EXPECT_TRUE(prepared.articles[0].extraHeadwords.empty()); // repeats go as well
    EXPECT_TRUE(prepared.articles.back().extraHeadwords.empty());
}

TEST(WriteImportedDirections, EveryHeadwordIsFoundByItsOwnText) {
    // The Esperanto order ignores the full stops of "a...b", which then comes
    // before "abc" but is longer in bytes: the lookup would pass it by.
    TempDir dir;
    const auto reports = WriteImportedDirections(
        {Direction(
             Language::Esperanto,
             {{{"a...b", "ab-c"}, "a...b\nfirst"}, {{"abc"}, "abc\nsecond"}, {{"a-b"}, "a-b"}}),
         Direction(Language::Russian, {{{"б"}, "б"}})},
        dir.Path());
    EXPECT_EQ(reports[0].leftOutCount, 1u);
    EXPECT_EQ(reports[0].headwords, 3u);
    const IndexCheck check = CheckIndex(Language::Esperanto, dir.AnsiPath("EoRu_kelimbo.bsi"),
                                        dir.File("EoRu_kelimbo.txt"));
    EXPECT_EQ(check.problemCount, 0u) << (check.problems.empty() ? "" : check.problems[0]);
    LookupCore folder(dir.AnsiPath(""));
    EXPECT_EQ(ToUtf8(folder.Article(folder.List(u"ab-c"), 0)), "a...b\r\nfirst\r\n");
}

TEST(WriteImportedDirections, AFailedWriteLeavesTheOldFilesAsTheyWere) {
    TempDir dir;
    const char* names[] = {"EoRu_kelimbo.txt", "EoRu_kelimbo.bsi", "tarnesk_rusa_esperanto.txt"};
    for (const char* name : names) {
        WriteBytes(dir.File(name), std::string("old ") + name);
    }
    // The last file cannot be put in place: a folder holds its name.
    std::filesystem::create_directories(dir.File("tarnesk_rusa_esperanto.bsi") / "in the way");
    EXPECT_ANY_THROW(WriteImportedDirections({Direction(Language::Esperanto, {{{"a"}, "a\nб"}}),
                                              Direction(Language::Russian, {{{"б"}, "б\na"}})},
                                             dir.Path()));
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        left.push_back(entry.path().filename().string());
    }
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"EoRu_kelimbo.bsi", "EoRu_kelimbo.txt",
                                              "tarnesk_rusa_esperanto.bsi",
                                              "tarnesk_rusa_esperanto.txt"}));
    for (const char* name : names) {
        EXPECT_EQ(ReadBytes(dir.File(name)), std::string("old ") + name);
    }
}

} // namespace

// SPDX-License-Identifier: GPL-2.0-or-later
// The word list's translations, export and import over a small dictionary
// of both directions, the export compared with stored files.
#include "wordlist/word_export.h"
#include "wordlist/word_import.h"
#include "wordlist/word_list.h"
#include "wordlist/word_translation.h"

#include "dictbuild/dictionary_build.h"
#include "lookup/lookup_core.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

using testing_support::ReadBytes;
using testing_support::TempDir;
using wordlist::Word;

// Articles with what a file format could trip on: HTML's characters, a
// quote, commas, several lines, a headword of several words.
class WordExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::istringstream eo("hund/o\thund/o собака, пёс\n"
                              "ŝat/i\tŝat/i любить\\n<нравиться> & \"ценить\"\n"
                              "-ad-\t-ad-\\nсуффикс: длительность\n"
                              "Kapro\tKapro коза\n");
        BuildFromSource(Language::Esperanto, ReadTsvSource(eo), dir.Path());
        std::istringstream ru("соба́ка\tсоба́ка hundo\n"
                              "1 Ма́я\t1 Ма́я la 1-a de majo, Tago de la Laboro\n");
        BuildFromSource(Language::Russian, ReadTsvSource(ru), dir.Path());
        core.Open(dir.AnsiPath(""));
    }

    TempDir dir;
    LookupCore core;
};

TEST_F(WordExportTest, FirstLinesLeaveOutTheHeadwordAndMissingWordsHaveNone) {
    const struct {
        Word word;
        std::optional<std::string> line;
    } cases[] = {
        {{"hundo", true}, "собака, пёс"},
        {{"ŝati", true}, "любить"},
        {{"-ad-", true}, "суффикс: длительность"}, // its first line is the headword alone
        {{"собака", false}, "hundo"},              // the stress mark is no difference
        {{"1 Мая", false}, "la 1-a de majo, Tago de la Laboro"},
        {{"kapro", true}, "коза"},        // the dictionary writes it Kapro
        {{"hund", true}, std::nullopt},   // only the start of a headword
        {{"hundo", false}, std::nullopt}, // an Esperanto word kept as Russian
        {{"forigita", true}, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(wordlist::WordFirstLine(core, c.word), c.line) << c.word.text;
    }
    // Under several dictionaries' headings, the first that translates.
    EXPECT_EQ(wordlist::FirstTranslationLine("— unua —\r\nhundo\r\n\r\n— dua —\r\nhundo hund\r\n",
                                             "hundo"),
              "hund");
    EXPECT_EQ(wordlist::FirstTranslationLine("hundoj multaj\r\n", "hundo"), "hundoj multaj");
    EXPECT_EQ(wordlist::FirstTranslationLine("hundo a\tb\rc\r\n", "hundo"), "a b c");
    // Labels before the meaning, as ReVo gives them; a numbered meaning is one.
    EXPECT_EQ(wordlist::FirstTranslationLine("hundo\r\nзоол. разг.\r\nсобака\r\n", "hundo"),
              "собака");
    EXPECT_EQ(wordlist::FirstTranslationLine("ŝati\r\n1. любить\r\n", "ŝati"), "1. любить");
}

TEST_F(WordExportTest, ExportsMatchTheStoredFiles) {
    const std::vector<Word> words = {
        {"hundo", true, 1765000000, 3},
        {"ŝati", true, 1765000060, 0},
        {"-ad-", true, 1765000120, 1},
        {"собака", false, 1765086400, 0},
        {"1 Мая", false, 1765086401, 2},
        {"forigita", true, 1765086402, 7}, // no dictionary has it any more
    };
    const struct {
        wordlist::ExportFormat format;
        const char* expected;
    } cases[] = {
        {wordlist::ExportFormat::AnkiTsv, "expected.tsv"},
        {wordlist::ExportFormat::Csv, "expected.csv"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(wordlist::ExportWords(words, core, c.format),
                  ReadBytes(std::string(KELIMBO_FIXTURES) + "/wordlist/" + c.expected))
            << c.expected;
    }
    // A tab inside a line, an indented line, blank lines at the end.
    const std::vector<wordlist::ExportEntry> entries = {{{"a", true, 0, 0}, "x\ty\r\n  z\r\n\r\n"}};
    EXPECT_EQ(wordlist::FormatExport(entries, wordlist::ExportFormat::AnkiTsv),
              "#separator:tab\n#html:true\n#tags column:3\n"
              "a\tx y<br>&nbsp;&nbsp;z\tkelimbo eo-ru\n");
    EXPECT_EQ(wordlist::FormatExport(entries, wordlist::ExportFormat::Csv),
              "word,translation,direction,added,lookups\r\n"
              "a,\"x\ty\r\n  z\",eo-ru,1970-01-01 00:00:00,0\r\n");
}

TEST_F(WordExportTest, ImportKeepsKnownHeadwordsAndReportsTheRest) {
    wordlist::WordList list;
    list.Add("hundo", true, 5);
    const wordlist::ImportReport report =
        wordlist::ImportWords("\xEF\xBB\xBFsxati\r\n" // x-system, after a byte order mark, CR LF
                              "  hundo  \r\n"         // kept already
                              "\r\n"                  // blank
                              "hundoj\n"              // no headword
                              "КАПРО\n"  // no headword in Russian: the language picks the direction
                              "kapro\n"  // kept as the dictionary writes it
                              "СОБАКА\n" // Russian, another case
                              "\xC0\xC1\n" // not UTF-8
                              "1 мая",     // no line end at the end
                              list, core, 100);
    EXPECT_EQ(report.added, 4u);
    EXPECT_EQ(report.alreadyKept, 1u);
    EXPECT_EQ(report.unknown, (std::vector<std::string>{"hundoj", "КАПРО"}));
    EXPECT_EQ(report.unreadable, std::vector<std::size_t>{8});
    EXPECT_EQ(list.Words(), (std::vector<Word>{{"hundo", true, 5, 0},
                                               {"ŝati", true, 100, 0},
                                               {"Kapro", true, 100, 0},
                                               {"собака", false, 100, 0},
                                               {"1 Мая", false, 100, 0}}));
}

} // namespace

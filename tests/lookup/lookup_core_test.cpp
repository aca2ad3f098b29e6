// SPDX-License-Identifier: GPL-2.0-or-later
// The lookup core over several dictionaries: the merged list, a line's
// articles under each dictionary's name, and one dictionary answering as the
// core of one folder does.
#include "lookup/lookup_core.h"

#include "dictbuild/dictionary_build.h"
#include "platform/code_page.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace {

using platform::FromUtf8;
using platform::ToUtf8;
using testing_support::TempDir;

void Build(Language language, const std::string& tsv, const TempDir& dir) {
    std::istringstream in(tsv);
    BuildFromTsv(language, in, "test.tsv", dir.Path());
}

// "abNN" for the numbers from `first` below 80, stepping by two.
std::string Numbered(int first, const char* article) {
    std::string tsv;
    for (int n = first; n < 80; n += 2) {
        const std::string headword = (n < 10 ? "ab0" : "ab") + std::to_string(n);
        tsv += headword + "\t" + headword + " " + article + "\n";
    }
    return tsv;
}

std::vector<std::string> Lines(const ListResult& list) {
    std::vector<std::string> lines;
    for (const std::u16string& line : list.lines) {
        lines.push_back(ToUtf8(line));
    }
    return lines;
}

// The main folder holds both directions; "dua" only the Esperanto one.
class LookupCoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        Build(Language::Esperanto,
              "hundo\thundo unua\nkapo\tkapo unua\nkato\tkato unua\n" + Numbered(0, "unua"), main);
        Build(Language::Russian, "кот\tкот unua\n", main);
        Build(Language::Esperanto,
              "hundejo\thundejo dua\nKapro\tKapro dua\nkato\tkato dua\n" + Numbered(1, "dua"),
              second);
    }
    std::vector<DictionarySource> Sources() const {
        return {{"unua", main.AnsiPath("")}, {"dua", second.AnsiPath(""), false, true}};
    }

    TempDir main;
    TempDir second;
};

TEST_F(LookupCoreTest, ListsMergeInTheLanguagesOrderAndALineOpensEachDictionarysArticles) {
    struct Case {
        const char* typed;
        std::vector<std::string> lines;
        std::size_t open; // the line whose text is checked
        std::string text;
    };
    const Case cases[] = {
        // The Esperanto ordering is blind to case: Kapro sorts among the k's;
        // kato, in both, is one line with both articles, in the core's order.
        {"ka",
         {"kapo", "Kapro", "kato"},
         2,
         "— unua —\r\nkato unua\r\n\r\n— dua —\r\nkato dua\r\n"},
        // A headword of only one dictionary opens that one's articles alone.
        {"hund", {"hundejo", "hundo"}, 0, "— dua —\r\nhundejo dua\r\n"},
        {"hund", {"hundejo", "hundo"}, 1, "— unua —\r\nhundo unua\r\n"},
        // Even numbers in one, odd in the other: the first fifty of both.
        {"ab", {}, 49, "— dua —\r\nab49 dua\r\n"},
    };
    LookupCore core(Sources());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        const ListResult list = core.List(FromUtf8(c.typed));
        if (!c.lines.empty()) {
            EXPECT_EQ(Lines(list), c.lines);
        } else {
            ASSERT_EQ(list.LineCount(), 50u);
            for (std::size_t k = 0; k < 50; ++k) {
                char expected[8];
                std::snprintf(expected, sizeof expected, "ab%02zu", k);
                EXPECT_EQ(Lines(list)[k], expected);
            }
        }
        ASSERT_LT(c.open, list.LineCount());
        EXPECT_EQ(ToUtf8(core.Article(list, c.open)), c.text);
        std::string printed;
        core.AppendArticle(list, c.open, printed);
        EXPECT_EQ(printed, c.text) << "the terminal's text is the window's";
    }
    EXPECT_TRUE(core.Messages().empty());
}

TEST_F(LookupCoreTest, OneAnsweringDictionaryAnswersByteForByteAsItsFolderAlone) {
    // Russian queries: "dua" holds no Russian pair, so the main folder alone
    // answers, with no headings; and a damaged "dua" leaves the main one whole.
    std::FILE* f = std::fopen(second.File("EoRu_kelimbo.bsi").c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("not an index", f);
    std::fclose(f);

    LookupCore alone(main.AnsiPath(""));
    LookupCore both(Sources());
    for (const char* typed : {"ко", "кот", "ka", "hundo", "ab0", "zzz"}) {
        SCOPED_TRACE(typed);
        std::string printedAlone;
        std::string printedBoth;
        const ListResult a = alone.List(FromUtf8(typed), true, printedAlone);
        const ListResult b = both.List(FromUtf8(typed), true, printedBoth);
        EXPECT_EQ(printedBoth, printedAlone);
        ASSERT_EQ(b.LineCount(), a.LineCount());
        for (std::size_t k = 0; k < a.LineCount(); ++k) {
            std::string textAlone;
            std::string textBoth;
            alone.AppendArticle(a, k, textAlone);
            both.AppendArticle(b, k, textBoth);
            EXPECT_EQ(textBoth, textAlone) << "line " << k;
        }
    }
    ASSERT_EQ(both.Messages().size(), 1u) << "the damaged dictionary is named once";
    EXPECT_EQ(both.Messages()[0].rfind("dua: ", 0), 0u) << both.Messages()[0];
}

// "STEMNN" for NN below `count`.
std::string Series(const char* stem, int count, const char* article) {
    std::string tsv;
    for (int n = 0; n < count; ++n) {
        char headword[32];
        std::snprintf(headword, sizeof headword, "%s%02d", stem, n);
        tsv += std::string(headword) + "\t" + headword + " " + article + "\n";
    }
    return tsv;
}

// A word that is no headword lists its base forms' headwords first, then the
// prefix lines they do not show; a headword lists exactly as without the
// base forms. Every line opens the article of the headword it shows, in one
// dictionary and merged with a second.
TEST(BaseFormsFirst, LeadTheListOfANonHeadwordAndLeaveAHeadwordsListAlone) {
    TempDir one;
    TempDir two;
    Build(Language::Esperanto,
          "hundo\thundo unua\nkapo\tkapo unua\nkapono\tkapono unua\nkuiri\tkuiri unua\n"
          "-ej-\t-ej- unua\nvi\tvi unua\nvia\tvia unua\nviando\tviando unua\n" +
              Series("vianda", 60, "unua"),
          one);
    Build(Language::Russian, "кот\tкот unua\n", one);
    Build(Language::Esperanto, "kapo\tkapo dua\nkaponi\tkaponi dua\nvianda05\tvianda05 dua\n", two);

    std::string viandas; // the 48 prefix lines after vi and via (viando sorts after them)
    for (int n = 0; n < 48; ++n) {
        char line[16];
        std::snprintf(line, sizeof line, "vianda%02d\n", n);
        viandas += line;
    }
    struct Case {
        const char* typed;
        std::string alone;  // the first dictionary alone, as kelimbo-lookup prints it
        std::string merged; // with the second; empty: the same
    };
    const Case cases[] = {
        // A headword: the prefix lines only, as without base forms.
        {"kapo", "kapo\nkapono\n", "kapo\nkaponi\nkapono\n"},
        {"vi", "vi\nvia\n" + viandas, ""},
        // Not one: its base form's line first; kapono, which kapo begins,
        // is offered and not listed again as a prefix line.
        {"kapon", "kapo\tkapo\nkapono\tkapo\n", "kapo\tkapo\nkapono\tkapo\nkaponi\tkapo\n"},
        // The possessive's own headword, then its pronoun, then the prefix
        // lines, 50 lines in all.
        {"vian", "via\tvia\nvi\tvi\n" + viandas, ""},
        // A compound: one line per part of its analysis, in the word's order.
        {"hundokuirejo", "hundo\thundo\nkuiri\tkuiri\n-ej-\t-ej-\n",
         "hundo\thundo\nkuiri\tkuiri\n-ej-\t-ej-\n"},
        // Shorter than three letters, or not one word: no base forms while
        // headwords begin with it.
        {"ka", "kapo\nkapono\n", "kapo\nkaponi\nkapono\n"},
        {"kapon x", "", ""},
    };
    LookupCore alone(one.AnsiPath(""));
    LookupCore both({{"unua", one.AnsiPath("")}, {"dua", two.AnsiPath(""), false, true}});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        for (LookupCore* core : {&alone, &both}) {
            const bool merged = core == &both;
            std::string printed;
            const ListResult list = core->List(FromUtf8(c.typed), true, printed);
            EXPECT_EQ(printed, merged && !c.merged.empty() ? c.merged : c.alone)
                << (merged ? "merged" : "alone");
            std::string plain;
            core->List(FromUtf8(c.typed), false, plain);
            if (list.OfferedCount() == 0) {
                EXPECT_EQ(printed, plain) << "no base forms: the list without them";
            }
            // Line k opens what line k shows, and the window's lines are the printed ones.
            const ListResult kept = core->List(FromUtf8(c.typed), true);
            ASSERT_EQ(kept.LineCount(), list.LineCount());
            EXPECT_LE(list.LineCount(), 50u);
            std::istringstream lines(printed);
            std::string line;
            std::vector<std::string> seen;
            for (std::size_t k = 0; std::getline(lines, line); ++k) {
                SCOPED_TRACE(line);
                ASSERT_LT(k, list.LineCount());
                const std::string headword = line.substr(0, line.find('\t'));
                EXPECT_EQ(line.find('\t') != std::string::npos, k < list.OfferedCount());
                EXPECT_EQ(ToUtf8(k < kept.OfferedCount() ? kept.offeredLines[k]
                                                         : kept.lines[k - kept.OfferedCount()]),
                          headword);
                EXPECT_EQ(std::count(seen.begin(), seen.end(), headword), 0) << "twice";
                seen.push_back(headword);
                std::string text;
                core->AppendArticle(list, k, text);
                if (merged) {
                    EXPECT_NE(text.find("—\r\n" + headword + " "), std::string::npos) << text;
                } else {
                    EXPECT_EQ(text, headword + " unua\r\n");
                }
                EXPECT_EQ(ToUtf8(core->Headword(list, k)), headword);
            }
        }
    }
}

} // namespace

// SPDX-License-Identifier: GPL-2.0-or-later
#include "dictbuild/dictionary_build.h"
#include "dictbuild/index_check.h"
#include "lookup/lookup_core.h"
#include "index/index_writer.h"
#include "index/my_less.h"
#include "platform/code_page.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using platform::FromUtf8;
using platform::ToUtf8;
using testing_support::Cp1251;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

std::vector<SourceArticle> Source(const std::string& tsv) {
    std::istringstream in(tsv);
    return ReadTsvSource(in);
}

std::vector<std::string> ListOf(LookupCore& folder, const char* typed) {
    std::vector<std::string> lines;
    for (const auto& line : folder.List(FromUtf8(typed)).lines) {
        lines.push_back(ToUtf8(line));
    }
    return lines;
}

std::string FolderOf(const TempDir& dir) {
    return dir.AnsiPath("");
}

TEST(BuildFromSource, RoundTripsThroughIndexAndReader) {
    TempDir dir;
    BuildFromSource(Language::Esperanto,
                    Source("ĉapel/o\tĉapel/o шля`па\n"
                           "ŝip/o\tŝip/o корабль\\nсудно\tŝipeto\n"
                           "ŝip/o\tŝip/o (второе значение)\n"),
                    dir.Path());
    BuildFromSource(Language::Russian, Source("доро́га\tдоро́га vojo\n"), dir.Path());
    LookupCore folder(FolderOf(dir));

    EXPECT_EQ(ListOf(folder, "cxap"), (std::vector<std::string>{"ĉapelo"}));
    EXPECT_EQ(ListOf(folder, "sxip"), (std::vector<std::string>{"ŝipeto", "ŝipo"}));
    EXPECT_EQ(ListOf(folder, "дор"), (std::vector<std::string>{"дорога"}));

    // Marks stay in the file and are removed when shown; homonyms come in source order.
    EXPECT_EQ(ToUtf8(folder.Article(folder.List(u"ĉapelo"), 0)), "ĉapelo шляпа\r\n");
    EXPECT_EQ(ToUtf8(folder.Article(folder.List(u"ŝipo"), 0)),
              "ŝipo корабль\r\nсудно\r\nŝipo (второе значение)\r\n");
    EXPECT_EQ(ToUtf8(folder.Article(folder.List(u"ŝipeto"), 0)), "ŝipo корабль\r\nсудно\r\n");
    EXPECT_EQ(ToUtf8(folder.Article(folder.List(u"дорога"), 0)), "дорога vojo\r\n");
    EXPECT_NE(ReadBytes(dir.File("EoRu_kelimbo.txt")).find("cxapel/o " + Cp1251("шля`па")),
              std::string::npos);
}

TEST(BuildFromSource, AHeadwordsOwnArticlesComeBeforeThoseNamingItAsExtra) {
    TempDir dir;
    BuildFromSource(Language::Russian,
                    Source("кот\tкот (1)\tкошка\nкошка\tкошка (2)\nкот\tкот (3)\n"
                           "котёнок\tкотёнок (4)\tкошка|кот\n"),
                    dir.Path());
    BuildFromSource(Language::Esperanto, Source("kato\tkato\n"), dir.Path());
    LookupCore folder(FolderOf(dir));
    EXPECT_EQ(ToUtf8(folder.Article(folder.List(u"кошка"), 0)),
              "кошка (2)\r\nкот (1)\r\nкотёнок (4)\r\n");
    EXPECT_EQ(ToUtf8(folder.Article(folder.List(u"кот"), 0)),
              "кот (1)\r\nкот (3)\r\nкотёнок (4)\r\n");
}

TEST(BuildFromSource, RejectsWhatTheFilesCannotHoldAndWritesNothing) {
    const struct {
        Language language;
        std::string tsv;
        std::size_t line;
    } table[] = {
        {Language::Esperanto, "a\tok\nb\t" + std::string(2049, 'x') + "\n", 2},
        {Language::Esperanto, "a\tok\n" + std::string(256, 'h') + "\tx\n", 2},
        {Language::Russian, "café\tx\n", 1},
        {Language::Esperanto, "a\tдоро́га\n", 1},
        {Language::Esperanto, "/`\tonly marks\n", 1},
        // A real U+FFFD in the article must not excuse a bad byte after it.
        {Language::Russian, "a\tok\nb\t\xEF\xBF\xBD then \xFF\n", 2},
    };
    for (const auto& c : table) {
        TempDir dir;
        WriteBytes(dir.File("EoRu_kelimbo.txt"), "old text");
        try {
            BuildFromSource(c.language, Source(c.tsv), dir.Path());
            ADD_FAILURE() << "accepted line " << c.line;
        } catch (const SourceError& e) {
            EXPECT_EQ(e.Line(), c.line);
        }
        // Nothing new, nothing half-written, the old file untouched.
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
            names.push_back(entry.path().filename().string());
        }
        EXPECT_EQ(names, std::vector<std::string>{"EoRu_kelimbo.txt"});
        EXPECT_EQ(ReadBytes(dir.File("EoRu_kelimbo.txt")), "old text");
    }
}

// A headword of exactly the largest length is written and found: 255 bytes
// of the key, which for Russian are 255 letters of two UTF-8 bytes each.
TEST(BuildFromSource, AHeadwordOfTheLargestLengthIsAcceptedAndFound) {
    std::string russian;
    for (int i = 0; i < 255; ++i) {
        russian += "я";
    }
    const struct {
        Language language;
        std::string headword;
        const char* typed;
    } table[] = {
        {Language::Esperanto, std::string(255, 'h'), "hhh"},
        {Language::Esperanto, std::string(253, 'h') + "ĉ", "hhh"},
        {Language::Russian, russian, "яяя"},
    };
    for (const auto& c : table) {
        TempDir dir;
        const Language other =
            c.language == Language::Esperanto ? Language::Russian : Language::Esperanto;
        BuildFromSource(other, Source(other == Language::Esperanto ? "kato\tk\n" : "кот\tk\n"),
                        dir.Path());
        BuildFromSource(c.language, Source("a\tok\n" + c.headword + "\tlong\n"), dir.Path());
        LookupCore folder(FolderOf(dir));
        EXPECT_EQ(ListOf(folder, c.typed), std::vector<std::string>{c.headword}) << c.typed;
    }
}

TEST(BuildFromSource, ManyReferencesOfOneHeadwordAreCapped) {
    std::string tsv;
    for (int i = 0; i < 256; ++i) {
        tsv += "a\tarticle " + std::to_string(i) + "\n";
    }
    TempDir dir;
    try {
        BuildFromSource(Language::Esperanto, Source(tsv), dir.Path());
        ADD_FAILURE() << "accepted 256 references";
    } catch (const SourceError& e) {
        EXPECT_EQ(e.Line(), 256u);
    }
}

TEST(BuildFromParagraphs, IndexesAnExistingTextWithoutRewritingIt) {
    TempDir dir;
    const std::string text = "\ncxapel/o " + Cp1251("шляпа") + "\r\n" + Cp1251("ещё строка") +
                             "\r\n\r\n\nsxip/o " + Cp1251("корабль") + "\n";
    WriteBytes(dir.File("EoRu_kelimbo.txt"), text);
    const BuildSummary summary =
        BuildFromParagraphs(Language::Esperanto, dir.File("EoRu_kelimbo.txt"), dir.Path());
    EXPECT_EQ(summary.articles, 2u);
    EXPECT_EQ(ReadBytes(dir.File("EoRu_kelimbo.txt")), text);
    WriteBytes(dir.File("tarnesk_rusa_esperanto.bsi"),
               std::string("\x01", 1) + std::string(27, '\0'));
    LookupCore folder(FolderOf(dir));
    EXPECT_EQ(ToUtf8(folder.Article(folder.List(u"cxapelo"), 0)), "ĉapelo шляпа\r\nещё строка\r\n");
    EXPECT_EQ(ToUtf8(folder.Article(folder.List(u"sxipo"), 0)), "ŝipo корабль\r\n");
}

TEST(BuildFromParagraphs, ABadUtf8ByteInTheRussianTextIsRefusedByItsLine) {
    TempDir dir;
    WriteBytes(dir.File("text.txt"), "собака dog \xEF\xBF\xBD\n\nкот cat\nstill \xE2\x82\n");
    try {
        BuildFromParagraphs(Language::Russian, dir.File("text.txt"), dir.Path());
        ADD_FAILURE() << "accepted a byte that is not UTF-8";
    } catch (const SourceError& e) {
        EXPECT_EQ(e.Line(), 4u) << e.what();
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("tarnesk_rusa_esperanto.bsi")));
}

// Writes an index of the given headwords (already in the wanted order, not sorted).
void WriteRawIndex(const std::filesystem::path& file, std::vector<HeadwordSource> headwords) {
    struct KeepOrder : pro_less {
        bool less(std::string_view, std::string_view) const override { return false; }
        int compare(std::string_view a, std::string_view b) const override {
            return russian.compare(a, b);
        }
        bool long_enough(std::string_view q, std::string_view h) const override {
            return russian.long_enough(q, h);
        }
        my_less russian;
    } keep;
    WriteBytes(file, BuildIndex(keep, headwords));
}

TEST(CheckIndex, FindsEachKindOfDamage) {
    TempDir dir;
    WriteBytes(dir.File("text.txt"), std::string(100, 'x'));
    const struct {
        const char* what;
        std::vector<HeadwordSource> headwords;
        const char* problem;
    } table[] = {
        {"order", {{"b", {{0, 1}}}, {"a", {{0, 1}}}}, "out of order"},
        {"past the end", {{"a", {{90, 101}}}}, "runs past the end"},
        {"too long", {{"a", {{0, 2049}}}}, "longer than 2048"},
        {"backwards", {{"a", {{5, 4}}}}, "ends before it starts"},
    };
    for (const auto& c : table) {
        WriteRawIndex(dir.File("x.bsi"), c.headwords);
        const IndexCheck check =
            CheckIndex(Language::Russian, dir.AnsiPath("x.bsi"), dir.File("text.txt"));
        ASSERT_FALSE(check.problems.empty()) << c.what;
        EXPECT_NE(check.problems[0].find(c.problem), std::string::npos) << check.problems[0];
    }

    WriteRawIndex(dir.File("good.bsi"), {{"a", {{0, 10}}}, {"b", {{10, 100}}}});
    EXPECT_EQ(
        CheckIndex(Language::Russian, dir.AnsiPath("good.bsi"), dir.File("text.txt")).problemCount,
        0u);

    // A damaged file is reported with the program's own load message.
    const std::string good = ReadBytes(dir.File("good.bsi"));
    WriteBytes(dir.File("cut.bsi"), good.substr(0, good.size() - 1));
    const IndexCheck cut = CheckIndex(Language::Russian, dir.AnsiPath("cut.bsi"), std::nullopt);
    ASSERT_EQ(cut.problems.size(), 1u);
    EXPECT_EQ(cut.problems[0].rfind("Ошибка при чтении файла индекса:", 0), 0u) << cut.problems[0];
}

// The reader seeks with a signed 32-bit offset: an article starting past
// 2^31 - 1 can never be shown, even inside a text file that long (sparse here).
TEST(CheckIndex, ReportsArticlesStartingWhereTheReaderCannotSeek) {
    TempDir dir;
    WriteBytes(dir.File("text.txt"), "x");
    std::filesystem::resize_file(dir.File("text.txt"), (std::uintmax_t{1} << 31) + 4096);
    constexpr std::uint32_t kLast = 0x7FFFFFFF;
    WriteRawIndex(dir.File("x.bsi"), {{"a", {{kLast - 10, kLast}}},
                                      {"b", {{kLast, kLast + 100}}},
                                      {"c", {{kLast + 1, kLast + 10}}}});
    const IndexCheck check =
        CheckIndex(Language::Russian, dir.AnsiPath("x.bsi"), dir.File("text.txt"));
    ASSERT_EQ(check.problems.size(), 1u);
    EXPECT_NE(check.problems[0].find("\"c\": article 2147483648-2147483657 starts beyond byte "
                                     "2147483647"),
              std::string::npos)
        << check.problems[0];
}

// A pair is checked whole against what the index records of its text: a
// text of another size, or of the same size with one byte anywhere changed,
// is not the index's; an index that records nothing is said to, and passes.
TEST(CheckIndex, ReportsATextThatIsNotTheOneTheIndexWasMadeFor) {
    TempDir dir;
    // Three chunks of the check's reading and more, so that the sampled spans
    // fall across its chunk ends.
    std::string text(3 * (std::size_t{1} << 20) + 12345, '\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<char>('a' + (i * 7919 + i / 613) % 26);
    }
    const std::vector<HeadwordSource> headwords = {{"a", {{0, 10}}}};
    const auto changed = [&](std::size_t at) {
        std::string bytes = text;
        bytes[at] = static_cast<char>(bytes[at] ^ 1);
        return bytes;
    };
    const struct {
        const char* what;
        bool bound;
        std::string onDisk;
        const char* problem; // nullptr: none
    } table[] = {
        {"its own text", true, text, nullptr},
        {"a byte changed between the sampled spans", true, changed(text.size() / 2 + 3 * 4096),
         "its bytes differ"},
        {"the last byte changed", true, changed(text.size() - 1), "its bytes differ"},
        {"a byte more", true, text + "x", "3158074 bytes, the index's text had 3158073"},
        {"cut by one byte", true, text.substr(0, text.size() - 1), "the index's text had"},
        {"an index that records no text", false, changed(5), nullptr},
    };
    for (const auto& c : table) {
        WriteBytes(dir.File("x.bsi"), c.bound ? BuildIndexOf(text, my_less(), headwords)
                                              : BuildIndex(my_less(), headwords));
        WriteBytes(dir.File("text.txt"), c.onDisk);
        const IndexCheck check =
            CheckIndex(Language::Russian, dir.AnsiPath("x.bsi"), dir.File("text.txt"));
        EXPECT_EQ(check.withoutIdentity, !c.bound) << c.what;
        if (c.problem == nullptr) {
            EXPECT_EQ(check.problems, std::vector<std::string>{}) << c.what;
            continue;
        }
        ASSERT_EQ(check.problems.size(), 1u) << c.what;
        EXPECT_NE(check.problems[0].find("the text file " + dir.File("text.txt").string() +
                                         " is not the one the index was made for"),
                  std::string::npos)
            << check.problems[0];
        EXPECT_NE(check.problems[0].find(c.problem), std::string::npos) << check.problems[0];
    }
}

TEST(CheckIndex, ListsAtMostTwentyProblemsButCountsAll) {
    TempDir dir;
    WriteBytes(dir.File("text.txt"), "x");
    std::vector<HeadwordSource> headwords;
    for (char c = 'a'; c <= 'z'; ++c) {
        headwords.push_back({std::string(1, c), {{0, 5}}});
    }
    WriteRawIndex(dir.File("x.bsi"), headwords);
    const IndexCheck check =
        CheckIndex(Language::Russian, dir.AnsiPath("x.bsi"), dir.File("text.txt"));
    EXPECT_EQ(check.problems.size(), IndexCheck::kMaxListed);
    EXPECT_EQ(check.problemCount, 26u);
}

} // namespace

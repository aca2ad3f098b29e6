// SPDX-License-Identifier: GPL-2.0-or-later
#include "articles/provider_eo.h"
#include "articles/provider_ru.h"
#include "errors/checked_io.h"
#include "errors/exc_msg.h"
#include "platform/code_page.h"
#include "platform/file_open.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

using platform::FromUtf8;
using platform::ToUtf8;
using testing_support::Cp1251;
using testing_support::TempDir;
using testing_support::WriteBytes;

std::string MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const cExcMsg& e) {
        return ToUtf8(e.GetMsg());
    }
    return "(nothing raised)";
}

std::uint32_t Size(const std::string& bytes) {
    return static_cast<std::uint32_t>(bytes.size());
}

class Providers : public testing::Test {
protected:
    void SetUp() override {
        ru.path = dir.AnsiPath("tarnesk_rusa_esperanto.txt");
        eo.path = dir.AnsiPath("EoRu_kelimbo.txt");
    }
    // Puts `bytes` into both dictionary files.
    void Both(const std::string& bytes) {
        WriteBytes(dir.File("tarnesk_rusa_esperanto.txt"), bytes);
        WriteBytes(dir.File("EoRu_kelimbo.txt"), bytes);
    }
    TempDir dir;
    cKelimboProvRu ru;
    cKelimboProvEo eo;
};

struct LineEndCase {
    const char* name;
    std::string bytes;
    std::u16string shown;
};

TEST_F(Providers, LineEndsAndNulAreTheSameInBothFiles) {
    const LineEndCase cases[] = {
        {"LF becomes CR LF", "one\ntwo\nthree", u"one\r\ntwo\r\nthree"},
        {"CR LF gains no CR", "one\r\ntwo", u"one\r\ntwo"},
        {"leading LF is an empty line", "\none", u"\r\none"},
        {"leading CR LF stays", "\r\none", u"\r\none"},
        {"lone CR is copied", "a\rb", u"a\rb"},
        {"LF after a lone CR", "a\n\rb", u"a\r\n\rb"},
        {"trailing LF", "one\n", u"one"},
        {"trailing run of CR and LF", "one\r\n\n\r\r\n\n", u"one"},
        {"only line ends", "\n\r\n\r", u""},
        {"NUL cuts the article", std::string("abc\0def", 7), u"abc"},
        {"line ends before a NUL are trailing", std::string("abc\n\0def", 8), u"abc"},
        {"NUL first", std::string("\0abc", 4), u""},
        {"empty span", "", u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Both("<<" + c.bytes + ">>");
        const std::uint32_t end = 2 + Size(c.bytes);
        EXPECT_EQ(ToUtf8(ru.GetArticle(2, end)), ToUtf8(c.shown));
        EXPECT_EQ(ToUtf8(eo.GetArticle(2, end)), ToUtf8(c.shown));
    }
}

struct TextCase {
    const char* name;
    std::string bytes;
    const char* shown; // UTF-8
};

TEST_F(Providers, EsperantoFileIsConvertedAndStrippedOfMarks) {
    const TextCase cases[] = {
        {"slash between letters", "cxi/o", "ĉio"},
        {"grave between base letter and x keeps the x", "s`xipo", "sxipo"},
        {"slash between base letter and x keeps the x", "c/x", "cx"},
        {"capital pairs", "CXapo Gxi", "Ĉapo Ĝi"},
        {"Cyrillic in Windows-1251", Cp1251("книга `sx/"), "книга ŝ"},
        {"only marks", "`/`", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(dir.File("EoRu_kelimbo.txt"), c.bytes);
        EXPECT_EQ(ToUtf8(eo.GetArticle(0, Size(c.bytes))), c.shown);
    }
}

TEST_F(Providers, RussianFileIsUtf8WithoutStressMarks) {
    const TextCase cases[] = {
        {"stress marks removed", "мо\u0301ре, доро\u0301га\u0301", "море, дорога"},
        {"accented letters stay", "ĉapelo, ŭ", "ĉapelo, ŭ"},
        {"x-system is not converted", "cxapelo", "cxapelo"},
        {"grave and slash are kept", "a`b/c", "a`b/c"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(dir.File("tarnesk_rusa_esperanto.txt"), c.bytes);
        EXPECT_EQ(ToUtf8(ru.GetArticle(0, Size(c.bytes))), c.shown);
    }
}

TEST_F(Providers, SpanOfExactly2048BytesIsShownWhole) {
    Both(std::string(2048, 'a') + "tail");
    EXPECT_EQ(ru.GetArticle(0, 2048), std::u16string(2048, u'a'));
    EXPECT_EQ(eo.GetArticle(4, 2052), std::u16string(2044, u'a') + u"tail");
}

TEST_F(Providers, TooLongOrBackwardSpanIsEmptyWithoutOpeningTheFile) {
    // No dictionary file exists: opening it would raise.
    const ArticleRef spans[] = {{0, 2049}, {10, 9}, {100, 0}, {0, 0xFFFFFFFFu}};
    for (const auto& span : spans) {
        SCOPED_TRACE(std::to_string(span.start) + ".." + std::to_string(span.end));
        EXPECT_EQ(MessageOf([&] { EXPECT_EQ(ru.GetArticle(span.start, span.end), u""); }),
                  "(nothing raised)");
        EXPECT_EQ(MessageOf([&] { EXPECT_EQ(eo.GetArticle(span.start, span.end), u""); }),
                  "(nothing raised)");
    }
}

TEST_F(Providers, ArticleLongerThan2048UnitsAfterNormalisationIsShownWhole) {
    // 2000 bytes with 48 or 49 LF line ends inside: 2048 or 2049 units once each LF gains its CR.
    for (const int lineEnds : {48, 49}) {
        SCOPED_TRACE(lineEnds);
        std::string bytes(2000, 'o');
        for (int i = 0; i < lineEnds; ++i) {
            bytes[static_cast<std::size_t>(10 + 40 * i)] = '\n';
        }
        Both(bytes);
        const std::size_t expected = 2000 + static_cast<std::size_t>(lineEnds);
        for (cKelimboProv* prov :
             {static_cast<cKelimboProv*>(&ru), static_cast<cKelimboProv*>(&eo)}) {
            const std::u16string text = prov->GetArticle(0, 2000);
            ASSERT_EQ(text.size(), expected);
            EXPECT_EQ(text.substr(9, 4), u"o\r\no");
        }
    }
    // The most a span can grow to: 2047 LF and one letter.
    Both(std::string(2047, '\n') + "z");
    std::u16string most;
    for (int i = 0; i < 2047; ++i) {
        most += u"\r\n";
    }
    EXPECT_EQ(eo.GetArticle(0, 2048), most + u"z");
}

TEST_F(Providers, ReadSpanReportsZeroWhenTheCapacityIsTooSmall) {
    Both("a\nb");
    char16_t out[8];
    EXPECT_EQ(ru.ReadSpan(0, 3, out, 3, platform::kUtf8CodePage), 0u);
    EXPECT_EQ(out[0], u'\0');
    EXPECT_EQ(ru.ReadSpan(0, 3, out, 4, platform::kUtf8CodePage), 4u);
    EXPECT_EQ(std::u16string(out), u"a\r\nb");
}

TEST_F(Providers, SpanPastTheEndOfTheFileRaisesTheReadError) {
    Both("short");
    const std::string path = platform::FileSystemPath(ru.path);
    EXPECT_EQ(MessageOf([&] { ru.GetArticle(2, 6); }),
              "Ошибка при чтении файла словаря:\n \"" + path + "\"");
    EXPECT_EQ(MessageOf([&] { eo.GetArticle(100, 101); }),
              "Ошибка при чтении файла словаря:\n \"" + platform::FileSystemPath(eo.path) + "\"");
    // An offset beyond the seekable range is a read error as well.
    EXPECT_EQ(MessageOf([&] { eo.GetArticle(0x80000000u, 0x80000001u); }),
              "Ошибка при чтении файла словаря:\n \"" + platform::FileSystemPath(eo.path) + "\"");
}

TEST_F(Providers, MissingFileRaisesTheOpenErrorWithItsPath) {
    EXPECT_EQ(MessageOf([&] { ru.GetArticle(0, 0); }),
              "Ошибка при открытии файла словаря:\n" + platform::FileSystemPath(ru.path));
    EXPECT_EQ(MessageOf([&] { eo.GetArticle(0, 1); }),
              "Ошибка при открытии файла словаря:\n" + platform::FileSystemPath(eo.path));
}

TEST_F(Providers, EachProviderNamesItsOwnFileWhateverTheOtherRead) {
    Both("abc");
    EXPECT_EQ(ru.GetArticle(0, 3), u"abc");
    EXPECT_EQ(MessageOf([&] { eo.GetArticle(2, 6); }),
              "Ошибка при чтении файла словаря:\n \"" + platform::FileSystemPath(eo.path) + "\"");
    EXPECT_EQ(MessageOf([&] { ru.GetArticle(2, 6); }),
              "Ошибка при чтении файла словаря:\n \"" + platform::FileSystemPath(ru.path) + "\"");
}

TEST_F(Providers, EveryCallReadsTheFileAfresh) {
    Both("first");
    EXPECT_EQ(eo.GetArticle(0, 5), u"first");
    Both("other");
    EXPECT_EQ(eo.GetArticle(0, 5), u"other");
}

TEST_F(Providers, GetArticlesJoinsArticlesWithOneLineBreakEach) {
    const std::string bytes = "first\r\n\r\nsecond\n\nc/xi";
    Both(bytes);
    const std::vector<ArticleRef> refs = {{0, 9}, {9, 17}, {17, Size(bytes)}, {3, 3}};
    std::u16string out = u"old";
    eo.GetArticles(out, refs);
    EXPECT_EQ(out, u"first\r\nsecond\r\ncxi\r\n\r\n");
    ru.GetArticles(out, {refs[1], refs[0]});
    EXPECT_EQ(out, u"second\r\nfirst\r\n");
    ru.GetArticles(out, {});
    EXPECT_EQ(out, u"");
}

TEST_F(Providers, GetArticlesHandsBackNoPartialTextOnFailure) {
    Both("first\nsecond");
    std::u16string out = u"old";
    EXPECT_NE(MessageOf([&] { ru.GetArticles(out, {{0, 5}, {6, 99}}); }), "(nothing raised)");
    EXPECT_EQ(out, u"");
}

// The tool's UTF-8 path reads what GetArticles reads and shows the same text:
// line ends, NUL, the Esperanto file's x-system and marks, the Russian file's
// stress marks and invalid bytes, spans too long or backward; and a failure
// leaves the text before it as it was.
TEST_F(Providers, Utf8ArticlesAreGetArticlesInUtf8) {
    const std::string eoBytes =
        Cp1251("Sxi`pa c/xi\nсо/бака\r\n\r\nbabilux") + std::string("\0rest\nUX\n", 9);
    const std::string ruBytes = "со\xCC\x81бака\r\nbad \xC3\x28 \xED\xA0\x80 \xF0\x9F\x98"
                                "\nend \xCC\x81\xCC\n\xF0\x9F\x98\x80";
    struct Case {
        cKelimboProv* provider;
        std::string bytes;
    };
    for (const Case& c : {Case{&eo, eoBytes}, Case{&ru, ruBytes}}) {
        WriteBytes(dir.File(c.provider == &eo ? "EoRu_kelimbo.txt" : "tarnesk_rusa_esperanto.txt"),
                   c.bytes);
        const std::uint32_t n = Size(c.bytes);
        const std::vector<std::vector<ArticleRef>> refLists = {
            {{0, n}}, {{0, 5}, {5, 12}, {12, n}}, {{3, 2}, {0, 3000}, {n, n}}, {}};
        for (const std::vector<ArticleRef>& refs : refLists) {
            std::u16string wide;
            c.provider->GetArticles(wide, refs);
            std::string out = "kept";
            c.provider->AppendArticlesUtf8(out, refs);
            EXPECT_EQ(out, "kept" + ToUtf8(wide)) << refs.size() << " references";
        }
        std::string out = "kept";
        std::u16string wide;
        EXPECT_EQ(MessageOf([&] {
                      c.provider->AppendArticlesUtf8(out, {{0, 5}, {6, n + 9}});
                  }),
                  MessageOf([&] {
                      c.provider->GetArticles(wide, {{0, 5}, {6, n + 9}});
                  }));
        EXPECT_EQ(out, "kept");
    }
}

} // namespace

// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/code_page.h"
#include "support/temp_dir.h"
#include "text/esperanto_x.h"
#include "text/strip_chars.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using platform::FromUtf8;
using platform::ToUtf8;

struct XCase {
    const char* input;
    const char* expected;
};

class XToAccented : public testing::TestWithParam<XCase> {};

TEST_P(XToAccented, ConvertsPairsAndLeavesEverythingElse) {
    const XCase& c = GetParam();
    EXPECT_EQ(ToUtf8(x_to_accented(FromUtf8(c.input))), c.expected) << "input: " << c.input;
}

INSTANTIATE_TEST_SUITE_P(
    Table, XToAccented,
    testing::Values(XCase{"cx", "ĉ"}, XCase{"cX", "ĉ"}, XCase{"Cx", "Ĉ"}, XCase{"CX", "Ĉ"},
                    XCase{"gx", "ĝ"}, XCase{"GX", "Ĝ"}, XCase{"hx", "ĥ"}, XCase{"Hx", "Ĥ"},
                    XCase{"jx", "ĵ"}, XCase{"JX", "Ĵ"}, XCase{"sx", "ŝ"}, XCase{"Sx", "Ŝ"},
                    XCase{"ux", "ŭ"}, XCase{"Ux", "Ŭ"}, XCase{"Sxangxajo", "Ŝanĝajo"},
                    XCase{"eHxo", "eĤo"}, XCase{"x", "x"}, XCase{"X", "X"}, XCase{"ax", "ax"},
                    XCase{"xcx", "xĉ"}, XCase{"cxcx", "ĉĉ"}, XCase{"cxx", "ĉx"},
                    XCase{"cxxx", "ĉxx"}, XCase{"hxx", "ĥx"}, XCase{"ĉx", "ĉx"},
                    XCase{"c/x", "c/x"}, XCase{"wx", "wx"}, XCase{"", ""},
                    XCase{"ĉapelo и слово", "ĉapelo и слово"}));

struct PositionCase {
    const char* input;
    std::size_t first, second;
    const char* expected;
    std::size_t firstAfter, secondAfter;
};

class XToAccentedPositions : public testing::TestWithParam<PositionCase> {};

TEST_P(XToAccentedPositions, MapsBothPositions) {
    const PositionCase& c = GetParam();
    std::size_t first = c.first;
    std::size_t second = c.second;
    EXPECT_EQ(ToUtf8(x_to_accented(FromUtf8(c.input), &first, &second)), c.expected);
    EXPECT_EQ(first, c.firstAfter);
    EXPECT_EQ(second, c.secondAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Table, XToAccentedPositions,
    testing::Values(PositionCase{"sx", 2, 2, "ŝ", 1, 1}, PositionCase{"sx", 1, 1, "ŝ", 1, 1},
                    PositionCase{"sx", 0, 2, "ŝ", 0, 1},
                    PositionCase{"abcxde", 3, 4, "abĉde", 3, 3},
                    PositionCase{"abcxde", 4, 4, "abĉde", 3, 3},
                    PositionCase{"cxx", 3, 3, "ĉx", 2, 2}, PositionCase{"", 0, 0, "", 0, 0},
                    PositionCase{"abc", 1, 3, "abc", 1, 3}, PositionCase{"sx", 7, 9, "ŝ", 7, 9},
                    PositionCase{"CXa", 0, 3, "Ĉa", 0, 2}));

TEST(XToAccentedPositions, OnePositionAlone) {
    std::size_t caret = 2;
    EXPECT_EQ(ToUtf8(x_to_accented(u"sx", &caret)), "ŝ");
    EXPECT_EQ(caret, 1u);
    std::size_t second = 4;
    EXPECT_EQ(ToUtf8(x_to_accented(u"abcx", nullptr, &second)), "abĉ");
    EXPECT_EQ(second, 3u);
}

TEST(AccentedToX, WritesLowerCaseMarker) {
    const std::pair<const char*, const char*> table[] = {{"ĉ", "cx"},
                                                         {"Ĉapo", "Cxapo"},
                                                         {"aŭto", "auxto"},
                                                         {"Ŭ", "Ux"},
                                                         {"ĜĤĴŜ", "GxHxJxSx"},
                                                         {"ĝĥĵŝ", "gxhxjxsx"},
                                                         {"plain text", "plain text"},
                                                         {"", ""},
                                                         {"слово", "слово"}};
    for (const auto& [input, expected] : table) {
        EXPECT_EQ(ToUtf8(accented_to_x(FromUtf8(input))), expected) << input;
    }
}

TEST(AccentedToX, RoundTripsExceptMarkerCaseAndStrayX) {
    const std::pair<const char*, const char*> table[] = {{"cxapelo", "cxapelo"},
                                                         {"CX", "Cx"},
                                                         {"cX", "cx"},
                                                         {"ĉx", "cxx"},
                                                         {"Sxangxajo", "Sxangxajo"}};
    for (const auto& [input, expected] : table) {
        EXPECT_EQ(ToUtf8(accented_to_x(x_to_accented(FromUtf8(input)))), expected) << input;
    }
}

} // namespace

namespace {

TEST(InPlaceForms, AgreeWithTheStringForms) {
    for (const char* input : {"", "cx", "Sxangxajo cxx", "xcx CX ux", "слово aŭto"}) {
        const std::u16string text = platform::FromUtf8(input);
        std::u16string buffer = text;
        std::size_t first = 1;
        std::size_t second = text.size();
        std::size_t firstRef = first;
        std::size_t secondRef = second;
        buffer.resize(x_to_accented_in_place(buffer.data(), buffer.size(), &first, &second));
        EXPECT_EQ(buffer, x_to_accented(text, &firstRef, &secondRef)) << input;
        EXPECT_EQ(first, firstRef);
        EXPECT_EQ(second, secondRef);

        std::u16string out(text.size() * 2, u'\0');
        out.resize(accented_to_x_into(buffer, out.data()));
        EXPECT_EQ(out, accented_to_x(buffer)) << input;
    }
}

} // namespace

namespace {

// The direct path from 8-bit text to UTF-8 must give what the UTF-16 steps
// give: every byte, every pair of bytes (each base letter before each x, each
// x after anything), and every three bytes of the letters, markers and marks
// that interact, with the marks dropped or kept, and a dropped base letter.
TEST(AnsiXAsUtf8, AgreesWithTheUtf16StepsForEveryByteAndPair) {
    const std::string letters = "cCgGhHjJsSuUxXa`/\xE0\x98";
    std::vector<std::string> texts;
    for (unsigned a = 0; a < 256; ++a) {
        texts.emplace_back(1, static_cast<char>(a));
        for (unsigned b = 0; b < 256; ++b) {
            texts.push_back({static_cast<char>(a), static_cast<char>(b)});
        }
    }
    for (const char a : letters) {
        for (const char b : letters) {
            for (const char c : letters) {
                texts.push_back({a, b, c});
            }
        }
    }
    std::size_t failures = 0;
    for (const auto& [dropped, dropped16] :
         {std::pair{"", u""}, std::pair{"`/", u"`/"}, std::pair{"c`", u"c`"}}) {
        for (const std::string& text : texts) {
            std::string out = "kept";
            append_x_ansi_as_utf8(out, text, dropped);
            const std::string expected =
                "kept" + ToUtf8(strip_chars(x_to_accented(platform::FromAnsi(text)), dropped16));
            if (out != expected && ++failures <= 5) {
                ADD_FAILURE() << testing::PrintToString(text) << " dropping \"" << dropped
                              << "\": got " << testing::PrintToString(out) << ", expected "
                              << testing::PrintToString(expected);
            }
        }
    }
    EXPECT_EQ(failures, 0u);
}

} // namespace

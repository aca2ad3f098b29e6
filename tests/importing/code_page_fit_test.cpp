// SPDX-License-Identifier: GPL-2.0-or-later
#include "importing/article_spans.h"
#include "importing/code_page_fit.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(FitText, SpellsOrDropsWhatTheTargetCannotShowAndCountsIt) {
    const auto eo = FitTarget::EsperantoFile;
    const struct {
        FitTarget target;
        std::string in;
        std::string out;
        std::size_t replaced;
        std::size_t dropped;
    } table[] = {
        {eo, "n×p", "nxp", 1, 0},
        {eo, "f(x) = αx+β", "f(x) = alpha x+beta", 2, 0},
        {eo, "Dvořák, Kjøge, Straße", "Dvorak, Kjoge, Strasse", 4, 0},
        {eo, "x ≤ 2 → ∞", "x <= 2 -> infinity", 3, 0},
        // A transcription keeps its sounds: ʃ and ʒ are not one letter.
        {eo, "/tʃevˈalo/ ˌʒʊrnˈal", "|tshev'alo| ,zhurn'al", 8, 0},
        // What the file holds stays, the reader's own marks do not.
        {eo, "ĉu «ŝi» — 5 km/h`", "ĉu «ŝi» — 5 km|h'", 2, 0},
        {eo, "ударе́ние ½", "ударение 1|2", 1, 1},
        {eo, "中文 a\tb\x01", " a b", 1, 3},
        {eo,
         "a\x1F"
         "b\nc",
         "a\x1F"
         "b\nc",
         0, 0},
        {eo, "\xC3(", "(", 0, 1},
        // Control characters: below U+0020 (but the morpheme mark U+001F) and
        // from U+007F to U+009F.
        {eo, "~\x7F\u0080\u009F\u00A0 ", "~\u00A0 ", 0, 3},
        {FitTarget::Cp1251,
         "a\x7F"
         "b\x1E"
         "c",
         "abc", 0, 2},
        {FitTarget::Utf8File, "~\x7F\u009F\u00A0", "~\u00A0", 0, 2},
        // Index keys keep the stress mark, which the key leaves out itself.
        {FitTarget::Cp1251, "черемша́ ĉ ѣ", "черемша́ c е", 2, 0},
        {FitTarget::Utf8File, "α km/h́ ĉ\x01\n", "α km/h́ ĉ\n", 0, 1},
    };
    for (const auto& c : table) {
        FitTally tally;
        EXPECT_EQ(FitText(c.in, c.target, tally), c.out) << c.in;
        EXPECT_EQ(tally.ReplacedCount(), c.replaced) << c.in;
        EXPECT_EQ(tally.DroppedCount(), c.dropped) << c.in;
    }
}

TEST(FitText, EveryCharacterOfTheEsperantoResultCanBeStored) {
    // Each code point below U+3000 once: whatever the fit keeps must encode.
    std::string all;
    for (char32_t c = 0x20; c < 0x3000; ++c) {
        if (c < 0xD800 || c > 0xDFFF) {
            std::string one;
            if (c < 0x80) {
                one = static_cast<char>(c);
            } else if (c < 0x800) {
                one = {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
            } else {
                one = {static_cast<char>(0xE0 | (c >> 12)),
                       static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
                       static_cast<char>(0x80 | (c & 0x3F))};
            }
            all += one;
        }
    }
    FitTally tally;
    const std::string fitted = FitText(all, FitTarget::EsperantoFile, tally);
    EXPECT_NO_THROW(EncodeArticle(Language::Esperanto, fitted));
    EXPECT_EQ(fitted.find_first_of("/`"), std::string::npos);
    FitTally keys;
    EXPECT_NO_THROW(HeadwordKey(Language::Russian, FitText(all, FitTarget::Cp1251, keys)));
}

std::string Repeat(const std::string& unit, std::size_t n, const std::string& separator) {
    std::string text;
    for (std::size_t i = 0; i < n; ++i) {
        text += (i == 0 ? "" : separator) + unit;
    }
    return text;
}

std::string WithoutBreaks(std::string text) {
    std::erase_if(text, [](char c) { return c == '\n' || c == ' '; });
    return text;
}

TEST(SplitIntoSpans, PiecesFitTheFileAndLoseNothing) {
    const struct {
        const char* what;
        Language language;
        std::string entry;
        std::size_t maxBytes;
        std::size_t pieces;
        bool cutAtLines; // the pieces joined by line ends give the entry back
    } table[] = {
        {"fits", Language::Esperanto, "ĉapelo\nшляпа", 2048, 1, true},
        {"lines", Language::Russian, Repeat("строка номер один", 100, "\n"), 2048, 2, true},
        // ĉ takes two bytes in the Esperanto file, one character in the text.
        {"Esperanto letters", Language::Esperanto, "a\n" + Repeat("ĉ", 1024, ""), 2048, 2, true},
        {"Esperanto letters over", Language::Esperanto, Repeat("ĉ", 1025, ""), 2048, 2, false},
        {"one long line", Language::Esperanto, Repeat("vorto", 900, " "), 2048, 3, false},
        {"one long word", Language::Russian, Repeat("я", 3000, ""), 2048, 3, false},
        {"a long line among short ones", Language::Russian,
         "начало\n" + Repeat("слово", 500, " ") + "\nконец", 1000, 8, false},
    };
    for (const auto& c : table) {
        const std::vector<std::string> pieces = SplitIntoSpans(c.language, c.entry, c.maxBytes);
        EXPECT_EQ(pieces.size(), c.pieces) << c.what;
        std::string joined;
        for (const std::string& piece : pieces) {
            EXPECT_LE(EncodedSize(c.language, piece), c.maxBytes) << c.what;
            EXPECT_FALSE(piece.empty()) << c.what;
            joined += (joined.empty() ? "" : "\n") + piece;
        }
        if (c.cutAtLines) {
            EXPECT_EQ(joined, c.entry) << c.what;
        }
        EXPECT_EQ(WithoutBreaks(joined), WithoutBreaks(c.entry)) << c.what;
    }
}

} // namespace

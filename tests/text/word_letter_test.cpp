// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/code_page.h"
#include "support/temp_dir.h"
#include "text/word_letter.h"

#include <gtest/gtest.h>

namespace {

using platform::FromUtf8;

TEST(IsWordLetter, LettersOfAllThreeAlphabets) {
    for (const char16_t c : FromUtf8("azAZжЯаяĉĈĝĜĥĤĵĴŝŜŭŬЁё")) {
        EXPECT_TRUE(is_word_letter(c)) << static_cast<unsigned>(c);
    }
}

TEST(IsWordLetter, EverythingElse) {
    for (const char16_t c : FromUtf8("05 -.,;:!?\"'()«»—–\t\r\nЂђЄєІіЇї№€éß日")) {
        EXPECT_FALSE(is_word_letter(c)) << static_cast<unsigned>(c);
    }
    EXPECT_FALSE(is_word_letter(u'\0'));
}

TEST(IsWordLetter, AgreesWithTheCodePageRangesOverAllOfIt) {
    // Every Windows-1251 letter range, checked through the Unicode of each byte.
    for (char16_t c = 0x0410; c <= 0x044F; ++c) {
        EXPECT_TRUE(is_word_letter(c));
    }
    for (char16_t c = 0; c < 0x80; ++c) {
        const bool latin = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
        EXPECT_EQ(is_word_letter(c), latin) << static_cast<unsigned>(c);
    }
}

} // namespace

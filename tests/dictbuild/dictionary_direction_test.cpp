// SPDX-License-Identifier: GPL-2.0-or-later
#include "dictbuild/dictionary_direction.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using testing_support::Cp1251;

TEST(HeadwordKey, StoredAsTheProgramLooksItUp) {
    const struct {
        Language language;
        const char* headword;
        std::string key;
    } table[] = {
        {Language::Esperanto, "ĉapel/o", "cxapelo"},
        {Language::Esperanto, "Ŝanĝ`o", "Sxangxo"},
        {Language::Esperanto, "mal-", "mal-"},
        {Language::Russian, "доро́га", Cp1251("дорога")},
        {Language::Russian, "Ёлка", Cp1251("Ёлка")},
        {Language::Russian, "SMS", "SMS"},
    };
    for (const auto& c : table) {
        EXPECT_EQ(HeadwordKey(c.language, c.headword), c.key) << c.headword;
    }
}

TEST(HeadwordKey, RejectsWhatTheCodePageCannotHold) {
    EXPECT_THROW(HeadwordKey(Language::Russian, "café"), std::runtime_error);
    EXPECT_THROW(HeadwordKey(Language::Esperanto, "日本"), std::runtime_error);
    EXPECT_THROW(HeadwordKey(Language::Russian, "\xFF"), std::runtime_error); // not UTF-8
}

TEST(EncodeArticle, EachDirectionKeepsItsMarks) {
    EXPECT_EQ(EncodeArticle(Language::Esperanto, "ĉapel/o шля`па"), "cxapel/o " + Cp1251("шля`па"));
    EXPECT_EQ(EncodeArticle(Language::Russian, "доро́га vojo, ŝoseo"), "доро́га vojo, ŝoseo");
    EXPECT_THROW(EncodeArticle(Language::Esperanto, "доро́га"), std::runtime_error);
}

TEST(HeadwordKeyFromText, ReadsEachFilesEncoding) {
    EXPECT_EQ(HeadwordKeyFromText(Language::Esperanto, "cxapel/o"), "cxapelo");
    EXPECT_EQ(HeadwordKeyFromText(Language::Russian, "доро́га"), Cp1251("дорога"));
}

TEST(Direction, FileNamesAndLanguageNames) {
    EXPECT_STREQ(FilesOf(Language::Esperanto).index, "EoRu_kelimbo.bsi");
    EXPECT_STREQ(FilesOf(Language::Russian).text, "tarnesk_rusa_esperanto.txt");
    EXPECT_EQ(ParseLanguage("ru"), Language::Russian);
    EXPECT_THROW(ParseLanguage("de"), std::invalid_argument);
}

} // namespace

// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/code_page.h"
#include "support/temp_dir.h"
#include "text/index_key.h"

#include <gtest/gtest.h>

namespace {

using platform::FromUtf8;
using platform::ToUtf8;
using testing_support::Cp1251;

TEST(ToIndexKey, WritesXSystemAndWindows1251) {
    const std::pair<const char*, std::string> table[] = {
        {"ĉapelo", "cxapelo"},  {"Ŝanĝo", "Sxangxo"}, {"ёлка Ёж", Cp1251("ёлка Ёж")}, {"", ""},
        {"日本", "??"}, // outside the code page: replaced, still looked up
        {"«a»", Cp1251("«a»")},
    };
    for (const auto& [box, expected] : table) {
        EXPECT_EQ(to_index_key(FromUtf8(box)), expected) << box;
    }
}

TEST(ToIndexKey, QueryNeedingMoreThan256BytesIsEmpty) {
    EXPECT_EQ(to_index_key(std::u16string(256, u'a')).size(), 256u);
    EXPECT_EQ(to_index_key(std::u16string(257, u'a')), "");
    // 128 accented letters need 256 bytes; one more does not fit.
    EXPECT_EQ(to_index_key(std::u16string(128, u'\u0109')).size(), 256u);
    EXPECT_EQ(to_index_key(std::u16string(129, u'\u0109')), "");
}

TEST(FromIndexKey, ShowsAccentedLetters) {
    const std::pair<std::string, const char*> table[] = {
        {"cxapelo", "ĉapelo"},
        {Cp1251("Ёж и ёлка"), "Ёж и ёлка"},
        {"", ""},
        {"a-b.\"c\"", "a-b.\"c\""},
    };
    for (const auto& [key, expected] : table) {
        EXPECT_EQ(ToUtf8(from_index_key(key)), expected) << expected;
    }
}

TEST(FromIndexKey, KeyNeedingMoreThan256UnitsIsEmpty) {
    EXPECT_EQ(from_index_key(std::string(256, 'a')).size(), 256u);
    EXPECT_EQ(from_index_key(std::string(257, 'a')), u"");
}

} // namespace

namespace {

// List lines printed straight from the keys are the lines the window shows,
// up to the longest key a line takes and past it.
TEST(AppendIndexKeyUtf8, IsTheUtf8OfTheListLine) {
    const std::string keys[] = {
        "",
        Cp1251("Sxangxajxo cxx X собака"),
        std::string(256, 'a'),
        std::string(257, 'a'),
        std::string(254, 'a') + "cx",
        std::string(255, 'a') + "cx",
    };
    for (const std::string& key : keys) {
        std::string out = "kept";
        append_index_key_utf8(out, key);
        EXPECT_EQ(out, "kept" + ToUtf8(from_index_key(key))) << key.size() << " bytes";
    }
}

} // namespace

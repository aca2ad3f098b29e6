// SPDX-License-Identifier: GPL-2.0-or-later
#include "text/strip_chars.h"

#include <gtest/gtest.h>

namespace {

TEST(StripChars, WideRemovesEveryOccurrenceOfTheSet) {
    const struct {
        std::u16string input;
        const char16_t* set;
        std::u16string expected;
    } table[] = {
        {u"a/b/c", u"/`", u"abc"},
        {u"s`xipo", u"/`", u"sxipo"},
        {u"plain", u"/`", u"plain"},
        {u"//``", u"/`", u""},
        {u"a/b", u"", u"a/b"},
        {u"", u"/", u""},
        {u"\u0301a\u0301", u"\u0301", u"a"},
        {u"же\u0301/ст\u0300", u"/\u0301", u"жест\u0300"}, // high and low in one set
    };
    for (const auto& c : table) {
        EXPECT_EQ(strip_chars(c.input, c.set), c.expected);
    }
}

TEST(StripChars, NarrowRemovesEveryOccurrenceOfTheSet) {
    EXPECT_EQ(strip_chars(std::string("a-b.\"c\""), "-\"."), "abc");
    EXPECT_EQ(strip_chars(std::string("abc"), "-\"."), "abc");
    EXPECT_EQ(strip_chars(std::string("-.-"), "-\"."), "");
    EXPECT_EQ(strip_chars(std::string("a-b"), ""), "a-b");
}

} // namespace

// SPDX-License-Identifier: GPL-2.0-or-later
// The search window's query rules, without any window.
#include "lookup/query_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(LanguageRule, DecidesByTheFirstDecidingByte) {
    struct Case {
        std::string query; // Windows-1251 bytes
        bool esperanto;
    };
    const Case cases[] = {
        {"", false},
        {"123", false},
        {"1a", true},
        {"\xAB"
         "a",
         false},
        {"\xB9"
         "a",
         true},
        {"-.,!? Z", true},
        {"\xA8", false},
        {"\xB8", false},
        {"\xBF", false},
        {"\xC0", false},
        {"@[`{\x7F", false},
        {"\x80"
         "a",
         false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsEsperantoQuery(c.query), c.esperanto) << c.query;
    }
}

} // namespace

// SPDX-License-Identifier: GPL-2.0-or-later
#include "headword_generator.h"
#include "index/my_less.h"
#include "index/x_less.h"
#include "reference_order.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using reference::Language;
using testing_support::Cp1251;

// Each list is in strictly ascending order.
void ExpectAscending(const pro_less& order, const std::vector<std::string>& list) {
    for (std::size_t k = 0; k + 1 < list.size(); ++k) {
        for (std::size_t later = k + 1; later < list.size(); ++later) {
            EXPECT_TRUE(order.less(list[k], list[later])) << k << " < " << later;
            EXPECT_FALSE(order.less(list[later], list[k])) << later << " !< " << k;
        }
    }
}

struct CompareCase {
    std::string a;
    std::string b;
    int expected;
};

TEST(MyLess, OrdersRussianHeadwords) {
    const my_less order;
    // Digits and Latin (case kept) first, then other bytes from 0x80, then
    // Cyrillic with Ё/ё between Е/е and Ж/ж.
    ExpectAscending(order, {"0", "9", "A", "Z", "a", "z", Cp1251("№"), Cp1251("а"), Cp1251("Б"),
                            Cp1251("е"), Cp1251("Ё"), Cp1251("ж"), Cp1251("Я")});
    ExpectAscending(order,
                    {Cp1251("Ежевика"), Cp1251("ё"), Cp1251("Ёж"), Cp1251("ёжик"), Cp1251("жук")});
    ExpectAscending(order, {"ab", "abc", "abd", "b"});

    const CompareCase cases[] = {
        {Cp1251("ёж"), Cp1251("ЁЖ"), 0},
        {Cp1251("Ёлка"), Cp1251("ёлка"), 0},
        {Cp1251("ель"), Cp1251("ёлка"), -1},
        {Cp1251("ёлка"), Cp1251("жук"), -1},
        {"A", "a", -1},
        {"abc", "ab", 0},
        {"", "abc", 0},
        {Cp1251("я"), "z", 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(order.compare(c.a, c.b), c.expected) << c.a << " / " << c.b;
    }
}

TEST(XLess, OrdersEsperantoHeadwords) {
    const x_less order;
    // A letter and 'x' comes after the letter followed by anything else; a
    // capital 'X' is no accent mark.
    ExpectAscending(order, {"c", "cedi", "CXapelo", "cz", "cxapelo", "Cxina", "d"});
    // Bytes from 0x80 come before ASCII; capitals fold to small letters.
    ExpectAscending(order, {"\xE0", "0", "[", "a", "B", "c"});
    // Ignored punctuation: the shorter without it first, then the shorter as written.
    ExpectAscending(order, {"ab", "a-b", "a.b.", "abc", "mal-", "mala", "male"});

    const CompareCase cases[] = {
        {"C", "c", 0},       {"ABC", "abc", 0}, {"a-b", "ab", 0},     {"\"vorto\"", "vorto", 0},
        {"CX", "cx", -1},    {"cX", "cx", -1},  {"c", "cxapelo", -1}, {"c", "cedi", 0},
        {"cx", "c", 1},      {"-", "abc", 0},   {"abc", "", 0},       {"mal-", "male", 0},
        {"sxi", "s-x-i", 0}, {"s-xi", "sz", 1}, {"k.t.p.", "ktp", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(order.compare(c.a, c.b), c.expected) << c.a << " / " << c.b;
    }
}

TEST(RuCharLess, AgreesWithTheStepByStepRuleOnEveryPairOfBytes) {
    int mismatches = 0;
    for (unsigned x = 0; x < 256; ++x) {
        for (unsigned y = 0; y < 256; ++y) {
            const auto bx = static_cast<unsigned char>(x);
            const auto by = static_cast<unsigned char>(y);
            mismatches += ru_char_less(bx, by) != reference::RuCharLess(bx, by);
        }
    }
    EXPECT_EQ(mismatches, 0);
}

// The fast comparator gives the plain algorithm's results on a pair of strings.
void ExpectSameAsReference(Language language, const pro_less& order, const std::string& a,
                           const std::string& b) {
    ASSERT_EQ(order.compare(a, b), reference::Compare(language, a, b)) << a << " / " << b;
    ASSERT_EQ(order.less(a, b), reference::Less(language, a, b)) << a << " / " << b;
    ASSERT_EQ(order.matches(a, b), reference::Matches(language, a, b)) << a << " / " << b;
}

std::vector<std::string> AllStrings(const std::string& alphabet, std::size_t maxLength) {
    std::vector<std::string> all{""};
    for (std::size_t from = 0; all.back().size() < maxLength;) {
        const std::size_t to = all.size();
        for (std::size_t k = from; k < to; ++k) {
            for (const char c : alphabet) {
                all.push_back(all[k] + c);
            }
        }
        from = to;
    }
    return all;
}

TEST(XLess, WalkingPastPunctuationAgreesWithStrippedCopies) {
    const x_less order;
    // Every pair of short strings over the characters that steer the comparison.
    const std::vector<std::string> shortStrings = AllStrings("cxX-.aZ\xE0", 3);
    for (const std::string& a : shortStrings) {
        for (const std::string& b : shortStrings) {
            ExpectSameAsReference(Language::Esperanto, order, a, b);
        }
    }
    std::mt19937 random(7);
    const std::string alphabet = "abcxxxXCgsu-.\"\xE0\x80 0";
    for (int k = 0; k < 100000; ++k) {
        const std::string a = generated::RandomString(random, alphabet, 10);
        const std::string b = generated::RandomString(random, alphabet, 10);
        ExpectSameAsReference(Language::Esperanto, order, a, b);
    }
}

TEST(MyLess, RankTableAgreesWithTheByteRule) {
    const my_less order;
    std::mt19937 random(11);
    std::string bytes;
    for (int b = 1; b < 256; ++b) {
        bytes += static_cast<char>(b);
    }
    const std::string cyrillic = Cp1251("еёжЕЁЖабвАБВ") + "aA-";
    for (int k = 0; k < 100000; ++k) {
        const std::string& alphabet = k % 2 ? bytes : cyrillic;
        const std::string a = generated::RandomString(random, alphabet, 8);
        const std::string b = generated::RandomString(random, alphabet, 8);
        ExpectSameAsReference(Language::Russian, order, a, b);
    }
}

TEST(SameHeadword, CaseAndWhatTheOrderIgnoresMakeNoDifference) {
    const x_less esperanto;
    const my_less russian;
    const struct {
        const pro_less* order;
        std::string a;
        std::string b;
        bool same;
    } table[] = {
        {&esperanto, "mal-", "Mal", true},
        {&esperanto, "-ej-", "ej", true},
        {&esperanto, "k.t.p.", "KTP", true},
        {&esperanto, "mal", "mala", false},
        {&esperanto, "c", "cx", false},
        {&esperanto, "cx", "cX", false}, // a capital 'X' is a letter of its own
        {&russian, Cp1251("Ёлка"), Cp1251("ёлка"), true},
        {&russian, Cp1251("елка"), Cp1251("ёлка"), false},
        {&russian, Cp1251("стол"), Cp1251("столица"), false},
        {&russian, "Ab", "ab", false}, // Latin letters keep their case here
    };
    for (const auto& c : table) {
        EXPECT_EQ(c.order->same(c.a, c.b), c.same) << c.a << " / " << c.b;
        EXPECT_EQ(c.order->same(c.b, c.a), c.same) << c.b << " / " << c.a;
    }
}

} // namespace

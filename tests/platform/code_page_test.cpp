// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/code_page.h"
#include "platform/cp1251.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <string>
#include <vector>

namespace {

using platform::kAnsiCodePage;
using platform::kUtf8CodePage;
using platform::MultiByteToWide;
using platform::WideToMultiByte;

std::u16string Decode(unsigned cp, const std::string& bytes, std::size_t cap = 64) {
    std::u16string out(cap, u'\0');
    out.resize(MultiByteToWide(cp, bytes.data(), bytes.size(), out.data(), cap));
    return out;
}

std::string Encode(unsigned cp, const std::u16string& text, std::size_t cap = 64) {
    std::string out(cap, '\0');
    out.resize(WideToMultiByte(cp, text.data(), text.size(), out.data(), cap));
    return out;
}

// The system's own Windows-1251 table, as an independent check of ours.
char16_t IconvCp1251(unsigned char byte) {
    iconv_t cd = iconv_open("UTF-16LE", "CP1251");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return 0;
    }
    char in[1] = {static_cast<char>(byte)};
    unsigned char out[4] = {};
    char* inPtr = in;
    char* outPtr = reinterpret_cast<char*>(out);
    std::size_t inLeft = 1;
    std::size_t outLeft = sizeof out;
    const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    return rc == static_cast<std::size_t>(-1) ? 0 : static_cast<char16_t>(out[0] | out[1] << 8);
}

TEST(Cp1251, EveryByteMatchesTheSystemTableAndRoundTrips) {
    const bool haveIconv = IconvCp1251('A') == u'A';
    for (unsigned b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        const std::u16string wide = Decode(kAnsiCodePage, byte);
        ASSERT_EQ(wide.size(), 1u) << b;
        if (b == 0x98) {
            EXPECT_EQ(wide[0], u'\u0098');
        } else if (haveIconv) {
            EXPECT_EQ(wide[0], IconvCp1251(static_cast<unsigned char>(b))) << b;
        }
        EXPECT_EQ(Encode(kAnsiCodePage, wide), byte) << b;
    }
}

TEST(Cp1251, KnownLettersAndMissingCharacters) {
    EXPECT_EQ(Decode(kAnsiCodePage, "\xA8\xB8\xC0\xFF\xAB"), u"ЁёАя«");
    EXPECT_EQ(Encode(kAnsiCodePage, u"ĉ日é"), "???");
    EXPECT_EQ(Encode(kAnsiCodePage, u"\U0001F600"), "?"); // one character, one mark
}

TEST(Utf8, DecodesValidTextAndReplacesBadSequences) {
    const struct {
        std::string bytes;
        std::u16string expected;
    } table[] = {
        {"abc", u"abc"},
        {"\xD0\xB6\xC4\x89", u"жĉ"},
        {"\xF0\x9F\x98\x80", u"\U0001F600"}, // surrogate pair
        {"\xFF", u"\uFFFD"},                 // invalid byte
        {"a\xD0", u"a\uFFFD"},               // truncated at the end
        {"\xE2\x82z", u"\uFFFDz"},           // truncated before another character
        {"\xC0\xAF", u"\uFFFD\uFFFD"},       // overlong lead is invalid
        {"\xED\xA0\x80", u"\uFFFD"},         // encoded surrogate
        {"\x80x", u"\uFFFDx"},               // stray continuation byte
        {std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
    };
    for (const auto& c : table) {
        EXPECT_EQ(Decode(kUtf8CodePage, c.bytes), c.expected);
    }
}

TEST(Utf8, EncodesAndRoundTrips) {
    const std::u16string text = u"ĉapelo ёж \U0001F600";
    const std::string utf8 = Encode(kUtf8CodePage, text);
    EXPECT_EQ(utf8, "\xC4\x89"
                    "apelo \xD1\x91\xD0\xB6 \xF0\x9F\x98\x80");
    EXPECT_EQ(Decode(kUtf8CodePage, utf8), text);
    EXPECT_EQ(Encode(kUtf8CodePage, std::u16string(1, u'\xD800')), "\xEF\xBF\xBD");
}

TEST(Conversions, TooSmallDestinationGivesZero) {
    char16_t wide[3];
    EXPECT_EQ(MultiByteToWide(kAnsiCodePage, "abc", 3, wide, 3), 3u);
    EXPECT_EQ(MultiByteToWide(kAnsiCodePage, "abcd", 4, wide, 3), 0u);
    EXPECT_EQ(MultiByteToWide(kUtf8CodePage, "\xF0\x9F\x98\x80\xF0\x9F\x98\x80", 8, wide, 3), 0u);
    char narrow[2];
    EXPECT_EQ(WideToMultiByte(kAnsiCodePage, u"ab", 2, narrow, 2), 2u);
    EXPECT_EQ(WideToMultiByte(kAnsiCodePage, u"abc", 3, narrow, 2), 0u);
    EXPECT_EQ(WideToMultiByte(kUtf8CodePage, u"ж", 1, narrow, 1), 0u);
    EXPECT_EQ(WideToMultiByte(1252, u"a", 1, narrow, 2), 0u); // no other code page
}

TEST(Utf8, FillsARoomSmallerThanTheBytesWhenTheUnitsFit) {
    char16_t wide[2];
    ASSERT_EQ(MultiByteToWide(kUtf8CodePage, "\xD0\xB6\xD0\xB6", 4, wide, 2), 2u);
    EXPECT_EQ(std::u16string(wide, 2), u"жж");
    ASSERT_EQ(MultiByteToWide(kUtf8CodePage, "\xF0\x9F\x98\x80", 4, wide, 2), 2u);
    EXPECT_EQ(std::u16string(wide, 2), u"\U0001F600");
    EXPECT_EQ(MultiByteToWide(kUtf8CodePage,
                              "\xD0\xB6\xD0\xB6"
                              "a",
                              5, wide, 2),
              0u);
}

// The string forms size their results for the widest case, so no text comes
// back empty or cut: three UTF-8 bytes for a unit, four for a surrogate pair,
// one ANSI byte for a pair.
TEST(WholeStrings, EachTextConvertsCompletely) {
    const std::u16string euros(100, u'€');
    const std::string euroBytes = [] {
        std::string bytes;
        for (int i = 0; i < 100; ++i) {
            bytes += "\xE2\x82\xAC";
        }
        return bytes;
    }();
    struct Case {
        std::u16string wide;
        std::string utf8;
        std::string ansi;
    };
    const Case cases[] = {
        {u"", "", ""},
        {euros, euroBytes, std::string(100, '\x88')},
        {u"\U0001F600\U0001F600", "\xF0\x9F\x98\x80\xF0\x9F\x98\x80", "??"},
        {u"ĉapelo шляпа",
         "\xC4\x89"
         "apelo \xD1\x88\xD0\xBB\xD1\x8F\xD0\xBF\xD0\xB0",
         "?apelo \xF8\xEB\xFF\xEF\xE0"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(platform::ToUtf8(c.wide), c.utf8) << c.utf8;
        EXPECT_EQ(platform::FromUtf8(c.utf8), c.wide) << c.utf8;
        EXPECT_EQ(platform::ToAnsi(c.wide), c.ansi) << c.utf8;
    }
    // ANSI bytes decode one unit each, every byte included.
    std::string allBytes;
    for (int b = 1; b < 256; ++b) {
        allBytes += static_cast<char>(b);
    }
    EXPECT_EQ(platform::ToAnsi(platform::FromAnsi(allBytes)), allBytes);
    EXPECT_EQ(platform::FromUtf8("a\xFF"
                                 "b"),
              u"a\uFFFDb");
}

static_assert(platform::Cp1251FromUnicode(U'ё') == 0xB8);
static_assert(platform::Cp1251FromUnicode(U'ĉ') == -1);

} // namespace

namespace {

// Every string of `length` bytes drawn from `alphabet`, in turn.
template <typename Visit>
void EachString(const std::vector<unsigned char>& alphabet, std::size_t length, Visit visit) {
    std::vector<std::size_t> digit(length, 0);
    std::string text(length, '\0');
    for (;;) {
        for (std::size_t k = 0; k < length; ++k) {
            text[k] = static_cast<char>(alphabet[digit[k]]);
        }
        visit(text);
        std::size_t k = 0;
        while (k < length && ++digit[k] == alphabet.size()) {
            digit[k++] = 0;
        }
        if (k == length) {
            return;
        }
    }
}

} // namespace

// The direct path must give what the round trip through UTF-16 gives, for
// well-formed, invalid, truncated, overlong and surrogate sequences alike, at
// any distance from the ASCII runs that are passed eight bytes at a time.
TEST(AppendCleanUtf8, AgreesWithTheRoundTripThroughUtf16) {
    std::vector<unsigned char> everyByte(256);
    for (unsigned b = 0; b < 256; ++b) {
        everyByte[b] = static_cast<unsigned char>(b);
    }
    // The bytes where the decoder's decisions change.
    const std::vector<unsigned char> edges = {0x00, 0x41, 0x7F, 0x80, 0x81, 0x8F, 0x90, 0x9F,
                                              0xA0, 0xBF, 0xC0, 0xC1, 0xC2, 0xCC, 0xDF, 0xE0,
                                              0xED, 0xEF, 0xF0, 0xF4, 0xF5, 0xFF};
    std::size_t checked = 0;
    std::size_t failures = 0;
    const auto check = [&](const std::string& core) {
        // ASCII before and after, of a length that walks through 0..9.
        const std::string around(checked % 10, 'a');
        const std::string text = around + core + around;
        std::string out = "kept";
        platform::AppendCleanUtf8(out, text);
        const std::string expected = "kept" + platform::ToUtf8(platform::FromUtf8(text));
        if (out != expected && ++failures <= 5) {
            ADD_FAILURE() << "bytes of length " << core.size() << " after " << around.size()
                          << " ASCII bytes: got " << testing::PrintToString(out) << ", expected "
                          << testing::PrintToString(expected);
        }
        ++checked;
    };
    for (std::size_t length = 1; length <= 2; ++length) {
        EachString(everyByte, length, check);
    }
    for (std::size_t length = 3; length <= 4; ++length) {
        EachString(edges, length, check);
    }
    EXPECT_EQ(failures, 0u) << "of " << checked;
    EXPECT_EQ(checked, 256u + 65536u + 22u * 22u * 22u + 22u * 22u * 22u * 22u);
}

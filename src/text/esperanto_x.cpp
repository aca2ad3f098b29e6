// SPDX-License-Identifier: GPL-2.0-or-later
#include "text/esperanto_x.h"

#include "platform/cp1251.h"

#include <array>
#include <cstring>

namespace {

// The accented letter of a base letter, or 0 when the character is no base letter.
char16_t AccentedOf(char16_t base) {
    switch (base) {
    case u'C':
        return u'\u0108';
    case u'c':
        return u'\u0109';
    case u'G':
        return u'\u011C';
    case u'g':
        return u'\u011D';
    case u'H':
        return u'\u0124';
    case u'h':
        return u'\u0125';
    case u'J':
        return u'\u0134';
    case u'j':
        return u'\u0135';
    case u'S':
        return u'\u015C';
    case u's':
        return u'\u015D';
    case u'U':
        return u'\u016C';
    case u'u':
        return u'\u016D';
    default:
        return 0;
    }
}

// The base letter of an accented letter, or 0 when the character is none.
char16_t BaseOf(char16_t accented) {
    switch (accented) {
    case u'\u0108':
        return u'C';
    case u'\u0109':
        return u'c';
    case u'\u011C':
        return u'G';
    case u'\u011D':
        return u'g';
    case u'\u0124':
        return u'H';
    case u'\u0125':
        return u'h';
    case u'\u0134':
        return u'J';
    case u'\u0135':
        return u'j';
    case u'\u015C':
        return u'S';
    case u'\u015D':
        return u's';
    case u'\u016C':
        return u'U';
    case u'\u016D':
        return u'u';
    default:
        return 0;
    }
}

void MapPosition(std::size_t* position, std::size_t from, std::size_t to) {
    if (position != nullptr && *position == from) {
        *position = to;
    }
}

// The common case of whole articles and list lines: no positions to carry.
std::size_t ConvertWithoutPositions(char16_t* text, std::size_t n) {
    std::size_t w = 0;
    char16_t previous = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const char16_t c = text[i];
        const char16_t accented = (c | 0x20) == u'x' && i > 0 ? AccentedOf(previous) : 0;
        if (accented != 0) {
            text[w - 1] = accented;
        } else {
            text[w++] = c;
        }
        previous = c;
    }
    return w;
}

} // namespace

std::size_t x_to_accented_in_place(char16_t* text, std::size_t n, std::size_t* first,
                                   std::size_t* second) {
    if (first == nullptr && second == nullptr) {
        return ConvertWithoutPositions(text, n);
    }
    std::size_t w = 0;
    char16_t previous = 0; // the input character before i, as it stood in the input
    for (std::size_t i = 0; i < n; ++i) {
        MapPosition(first, i, w);
        MapPosition(second, i, w);
        const char16_t c = text[i];
        const char16_t accented = (c == u'x' || c == u'X') && i > 0 ? AccentedOf(previous) : 0;
        if (accented != 0) {
            text[w - 1] = accented; // the x is dropped
        } else {
            text[w++] = c;
        }
        previous = c;
    }
    MapPosition(first, n, w);
    MapPosition(second, n, w);
    return w;
}

std::u16string x_to_accented(std::u16string_view text, std::size_t* first, std::size_t* second) {
    std::u16string result(text);
    result.resize(x_to_accented_in_place(result.data(), result.size(), first, second));
    return result;
}

std::size_t accented_to_x_into(std::u16string_view text, char16_t* out) {
    std::size_t w = 0;
    for (const char16_t c : text) {
        if (const char16_t base = BaseOf(c); base != 0) {
            out[w++] = base;
            out[w++] = u'x';
        } else {
            out[w++] = c;
        }
    }
    return w;
}

std::u16string accented_to_x(std::u16string_view text) {
    std::u16string result(text.size() * 2, u'\0');
    result.resize(accented_to_x_into(text, result.data()));
    return result;
}

void append_x_ansi_as_utf8(std::string& out, std::string_view ansi, std::string_view dropped) {
    // A list line drops nothing: its calls, tens per query, skip making a table.
    static constexpr std::array<bool, 0x80> kKeepAll{};
    std::array<bool, 0x80> dropTable;
    const bool* drops = kKeepAll.data();
    if (!dropped.empty()) {
        dropTable.fill(false);
        for (const char c : dropped) {
            if (static_cast<unsigned char>(c) < 0x80) {
                dropTable[static_cast<unsigned char>(c)] = true;
            }
        }
        drops = dropTable.data();
    }
    const std::size_t at = out.size();
    // No byte takes more than three; each is written as four, its table entry
    // whole, so one more is needed at the end.
    out.resize(at + 3 * ansi.size() + 1);
    char* const begin = out.data() + at;
    char* w = begin;
    unsigned char previous = 0; // the input byte before, as x_to_accented reads it
    for (const char byte : ansi) {
        const auto b = static_cast<unsigned char>(byte);
        if (b >= 0xC0) {
            // А..я, U+0410..U+044F: two bytes, worked out rather than looked up,
            // so that the write position does not wait for a table.
            const unsigned c = b - 0xC0 + 0x0410;
            w[0] = static_cast<char>(0xC0 | (c >> 6));
            w[1] = static_cast<char>(0x80 | (c & 0x3F));
            w += 2;
        } else if (b < 0x80) {
            const char16_t accented = (b | 0x20) == 'x' ? AccentedOf(previous) : 0;
            if (accented != 0) {
                // The base letter is ASCII and was the last byte written, unless
                // it is dropped; its accented letter lies in U+0100..U+017F.
                if (drops[previous]) {
                    ++w;
                }
                w[-1] = static_cast<char>(0xC0 | (accented >> 6));
                *w++ = static_cast<char>(0x80 | (accented & 0x3F));
            } else if (!drops[b]) {
                *w++ = byte;
            }
        } else {
            const platform::Cp1251Utf8& e = platform::kCp1251Utf8[b];
            std::memcpy(w, &e, sizeof e);
            w += e.length;
        }
        previous = b;
    }
    out.resize(at + static_cast<std::size_t>(w - begin));
}

#include "text/esperanto_x.h"

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

} // namespace

std::u16string x_to_accented(std::u16string_view text, std::size_t* first, std::size_t* second) {
    std::u16string result(text);
    const std::size_t n = text.size();
    std::size_t w = 0;
    for (std::size_t i = 0; i < n; ++i) {
        MapPosition(first, i, w);
        MapPosition(second, i, w);
        const char16_t c = text[i];
        const char16_t accented = (c == u'x' || c == u'X') && i > 0 ? AccentedOf(text[i - 1]) : 0;
        if (accented != 0) {
            result[w - 1] = accented; // the x is dropped
        } else {
            result[w++] = c;
        }
    }
    MapPosition(first, n, w);
    MapPosition(second, n, w);
    result.resize(w);
    return result;
}

std::u16string accented_to_x(std::u16string_view text) {
    std::u16string result;
    result.reserve(text.size() * 2);
    for (const char16_t c : text) {
        if (const char16_t base = BaseOf(c); base != 0) {
            result += base;
            result += u'x';
        } else {
            result += c;
        }
    }
    return result;
}

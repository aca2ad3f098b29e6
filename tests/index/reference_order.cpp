// SPDX-License-Identifier: GPL-2.0-or-later
#include "reference_order.h"

#include "text/strip_chars.h"

#include <cstdint>

namespace reference {

namespace {

constexpr const char* kIgnored = "-\".";

unsigned char FoldRu(unsigned char c) {
    if (c == 0xA8) {
        return 0xB8;
    }
    if (c >= 0xC0 && c <= 0xDF) {
        return static_cast<unsigned char>(c + 0x20);
    }
    return c;
}

int CompareRu(const std::string& a, const std::string& b) {
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (RuCharLess(x, y)) {
            return -1;
        }
        if (RuCharLess(y, x)) {
            return 1;
        }
    }
    return 0;
}

int FoldEo(char c) {
    int v = static_cast<signed char>(c);
    if (v >= 'A' && v <= 'Z') {
        v += 32;
    }
    return v;
}

int CompareEo(const std::string& a, const std::string& b) {
    const std::string sa = Stripped(a);
    const std::string sb = Stripped(b);
    if (sa.empty()) {
        return 0;
    }
    std::size_t i = 0;
    for (;;) {
        if (i >= sb.size()) {
            return 0;
        }
        const int p = FoldEo(sa[i]);
        const int q = FoldEo(sb[i]);
        if (q > p) {
            return -1;
        }
        if (q < p) {
            return 1;
        }
        const std::size_t j = i + 1;
        const bool ax = j < sa.size() && sa[j] == 'x';
        const bool bx = j < sb.size() && sb[j] == 'x';
        if (ax && !bx) {
            return 1;
        }
        if (bx && !ax) {
            return -1;
        }
        if (j >= sa.size()) {
            return 0;
        }
        i = j;
    }
}

} // namespace

bool RuCharLess(unsigned char x, unsigned char y) {
    if (x < 0x80 && y >= 0x80) {
        return true;
    }
    if (x >= 0x80 && y < 0x80) {
        return false;
    }
    if (x < 0x80 && y < 0x80) {
        return x < y;
    }
    const unsigned char fx = FoldRu(x);
    const unsigned char fy = FoldRu(y);
    if (fx == 0xB8) {
        return fy >= 0xE6;
    }
    if (fy == 0xB8) {
        return fx <= 0xE5;
    }
    return fx < fy;
}

std::string Stripped(const std::string& s) {
    return strip_chars(s, kIgnored);
}

int Compare(Language language, const std::string& a, const std::string& b) {
    return language == Language::Russian ? CompareRu(a, b) : CompareEo(a, b);
}

bool Less(Language language, const std::string& a, const std::string& b) {
    const int c = Compare(language, a, b);
    if (c != 0) {
        return c < 0;
    }
    if (language == Language::Esperanto) {
        const std::size_t la = Stripped(a).size();
        const std::size_t lb = Stripped(b).size();
        if (la != lb) {
            return la < lb;
        }
    }
    return a.size() < b.size();
}

bool Matches(Language language, const std::string& query, const std::string& headword) {
    if (Compare(language, query, headword) != 0 || query.size() > headword.size()) {
        return false;
    }
    return language == Language::Russian || Stripped(query).size() <= Stripped(headword).size();
}

} // namespace reference

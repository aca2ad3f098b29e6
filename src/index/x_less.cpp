// SPDX-License-Identifier: GPL-2.0-or-later
#include "index/x_less.h"

namespace {

// Position of the first character at or after i that is not ignored.
std::size_t Skip(std::string_view s, std::size_t i) {
    while (i < s.size() && x_less::Ignored(s[i])) {
        ++i;
    }
    return i;
}

// Bytes from 0x80 on are negative, so they come before every ASCII byte.
int Fold(char c) {
    const int v = static_cast<signed char>(c);
    return v >= 'A' && v <= 'Z' ? v + ('a' - 'A') : v;
}

bool SmallXAt(std::string_view s, std::size_t i) {
    return i < s.size() && s[i] == 'x';
}

} // namespace

std::size_t x_less::StrippedLength(std::string_view s) {
    std::size_t n = 0;
    for (const char c : s) {
        n += Ignored(c) ? 0 : 1;
    }
    return n;
}

// Walks both strings as if the ignored punctuation were not there: i and k are
// the positions in a and b of the current character of the stripped strings,
// and the look-ahead at the next stripped character skips punctuation too.
int x_less::compare(std::string_view a, std::string_view b) const {
    std::size_t i = Skip(a, 0);
    if (i == a.size()) {
        return 0;
    }
    std::size_t k = Skip(b, 0);
    for (;;) {
        if (k == b.size()) {
            return 0;
        }
        const int p = Fold(a[i]);
        const int q = Fold(b[k]);
        if (p != q) {
            return p < q ? -1 : 1;
        }
        const std::size_t nextA = Skip(a, i + 1);
        const std::size_t nextB = Skip(b, k + 1);
        const bool ax = SmallXAt(a, nextA);
        const bool bx = SmallXAt(b, nextB);
        if (ax != bx) {
            return ax ? 1 : -1;
        }
        if (nextA == a.size()) {
            return 0;
        }
        i = nextA;
        k = nextB;
    }
}

bool x_less::less(std::string_view a, std::string_view b) const {
    const int c = compare(a, b);
    if (c != 0) {
        return c < 0;
    }
    const std::size_t strippedA = StrippedLength(a);
    const std::size_t strippedB = StrippedLength(b);
    if (strippedA != strippedB) {
        return strippedA < strippedB;
    }
    return a.size() < b.size();
}

bool x_less::long_enough(std::string_view query, std::string_view headword) const {
    return StrippedLength(query) <= StrippedLength(headword);
}

bool x_less::same(std::string_view a, std::string_view b) const {
    return compare(a, b) == 0 && StrippedLength(a) == StrippedLength(b);
}

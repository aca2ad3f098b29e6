// SPDX-License-Identifier: GPL-2.0-or-later
#include "text/strip_chars.h"

#include <algorithm>
#include <type_traits>

namespace {

template <typename Char>
std::basic_string<Char> StripChars(std::basic_string_view<Char> s, const Char* set) {
    // The sets are a few characters, mostly ASCII: a table says for each
    // character below 0x100 whether it goes, and its last slot stands for all
    // characters above, which are looked up among the set's high ones only
    // when the set has any.
    constexpr unsigned kHigh = 256;
    bool dropped[kHigh + 1] = {};
    std::basic_string<Char> high;
    for (const Char* p = set; *p != Char{}; ++p) {
        const auto unit = static_cast<std::make_unsigned_t<Char>>(*p);
        if (unit < kHigh) {
            dropped[unit] = true;
        } else {
            high += *p;
        }
    }
    dropped[kHigh] = !high.empty();

    std::basic_string<Char> result(s.size(), Char{});
    std::size_t w = 0;
    for (const Char c : s) {
        const auto unit = static_cast<std::make_unsigned_t<Char>>(c);
        const unsigned slot = unit < kHigh ? unit : kHigh;
        const bool goes =
            dropped[slot] && (slot < kHigh || std::find(high.begin(), high.end(), c) != high.end());
        result[w] = c;
        w += goes ? 0 : 1;
    }
    result.resize(w);
    return result;
}

} // namespace

std::u16string strip_chars(std::u16string_view s, const char16_t* set) {
    return StripChars(s, set);
}

std::string strip_chars(std::string_view s, const char* set) {
    return StripChars(s, set);
}

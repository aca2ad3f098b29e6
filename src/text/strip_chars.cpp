#include "text/strip_chars.h"

#include <type_traits>

namespace {

template <typename Char>
std::basic_string<Char> StripChars(std::basic_string_view<Char> s, const Char* set) {
    // The sets are a few characters, mostly ASCII: a table for the low ones
    // makes the pass over a whole article cheap.
    bool lowDropped[256] = {};
    std::basic_string_view<Char> highSet;
    std::basic_string<Char> high;
    for (const Char* p = set; *p != Char{}; ++p) {
        const auto unit = static_cast<std::make_unsigned_t<Char>>(*p);
        if (unit < 256) {
            lowDropped[unit] = true;
        } else {
            high += *p;
        }
    }
    highSet = high;

    std::basic_string<Char> result(s.size(), Char{});
    std::size_t w = 0;
    for (const Char c : s) {
        const auto unit = static_cast<std::make_unsigned_t<Char>>(c);
        const bool dropped =
            unit < 256 ? lowDropped[unit] : highSet.find(c) != std::basic_string_view<Char>::npos;
        result[w] = c;
        w += dropped ? 0 : 1;
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

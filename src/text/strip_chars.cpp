#include "text/strip_chars.h"

#include <algorithm>

namespace {

template <typename Char>
std::basic_string<Char> StripChars(std::basic_string_view<Char> s, const Char* set) {
    const std::basic_string_view<Char> drop(set);
    std::basic_string<Char> result;
    result.reserve(s.size());
    std::copy_if(s.begin(), s.end(), std::back_inserter(result),
                 [drop](Char c) { return drop.find(c) == drop.npos; });
    return result;
}

} // namespace

std::u16string strip_chars(std::u16string_view s, const char16_t* set) {
    return StripChars(s, set);
}

std::string strip_chars(std::string_view s, const char* set) {
    return StripChars(s, set);
}

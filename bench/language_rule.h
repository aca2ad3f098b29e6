#pragma once
// The search window's language rule, for the keystroke benchmark: the first
// byte of the query that decides says whether it is Esperanto (an ASCII Latin
// letter) or Russian (0x80-0xB8, 0xC0-0xFF); a query in which no byte decides
// is Russian.

#include <string_view>

namespace bench_language {

inline bool IsEsperantoQuery(std::string_view query) {
    for (const char ch : query) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c >= 0x41 && c <= 0x5A) || (c >= 0x61 && c <= 0x7A)) {
            return true;
        }
        if ((c >= 0x80 && c <= 0xB8) || c >= 0xC0) {
            return false;
        }
    }
    return false;
}

} // namespace bench_language

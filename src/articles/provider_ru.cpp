// SPDX-License-Identifier: GPL-2.0-or-later
#include "articles/provider_ru.h"

#include "platform/code_page.h"

#include <cstring>
#include <string>

namespace {
constexpr char16_t kCombiningAcute = u'\u0301';
} // namespace

std::u16string cKelimboProvRu::GetArticle(std::uint32_t start, std::uint32_t end) {
    char16_t units[kMaxArticleUnits + 1];
    const std::size_t count =
        ReadSpan(start, end, units, kMaxArticleUnits, platform::kUtf8CodePage);
    // Copied whole, then the accents squeezed out in place: one pass, no
    // per-unit growth checks.
    std::u16string text(units, count);
    std::erase(text, kCombiningAcute);
    return text;
}

void cKelimboProvRu::AppendArticleUtf8(std::string& out, std::uint32_t start, std::uint32_t end) {
    char text[kMaxArticleUnits + 1];
    const std::size_t bytes = ReadText(start, end, text);
    const std::size_t at = out.size();
    platform::AppendCleanUtf8(out, std::string_view(text, bytes));
    // The accent is CC 81 in UTF-8. Once the text is well-formed, CC is always a
    // lead byte, so every CC 81 pair is the accent and nothing else.
    char* const begin = out.data() + at;
    char* const stop = out.data() + out.size();
    char* w = begin;
    for (char* r = begin; r < stop;) {
        auto* lead = static_cast<char*>(std::memchr(r, '\xCC', static_cast<std::size_t>(stop - r)));
        char* const next = lead != nullptr ? lead : stop;
        std::memmove(w, r, static_cast<std::size_t>(next - r));
        w += next - r;
        if (lead == nullptr) {
            break;
        }
        if (lead + 1 < stop && lead[1] == '\x81') {
            r = lead + 2;
        } else {
            *w++ = *lead;
            r = lead + 1;
        }
    }
    out.resize(at + static_cast<std::size_t>(w - begin));
}

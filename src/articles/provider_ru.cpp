// SPDX-License-Identifier: GPL-2.0-or-later
#include "articles/provider_ru.h"

#include "platform/code_page.h"

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

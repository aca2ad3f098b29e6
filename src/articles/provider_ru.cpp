#include "articles/provider_ru.h"

#include "platform/code_page.h"

#include <algorithm>
#include <iterator>

namespace {
constexpr char16_t kCombiningAcute = u'\u0301';
} // namespace

std::u16string cKelimboProvRu::GetArticle(std::uint32_t start, std::uint32_t end) {
    char16_t units[kMaxArticleUnits + 1];
    const std::size_t count =
        ReadSpan(start, end, units, kMaxArticleUnits, platform::kUtf8CodePage);
    std::u16string text;
    text.reserve(count);
    std::remove_copy(units, units + count, std::back_inserter(text), kCombiningAcute);
    return text;
}

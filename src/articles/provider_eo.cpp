// SPDX-License-Identifier: GPL-2.0-or-later
#include "articles/provider_eo.h"

#include "platform/code_page.h"
#include "text/esperanto_x.h"
#include "text/strip_chars.h"

std::u16string cKelimboProvEo::GetArticle(std::uint32_t start, std::uint32_t end) {
    char16_t units[kMaxArticleUnits + 1];
    const std::size_t count =
        ReadSpan(start, end, units, kMaxArticleUnits, platform::kAnsiCodePage);
    if (count == 0) {
        return {};
    }
    // The letters are converted before the markup is removed, so that a mark
    // between a base letter and an x keeps them apart ("c/x" shows as "cx").
    const std::size_t converted = x_to_accented_in_place(units, count);
    return strip_chars(std::u16string_view(units, converted), u"`/");
}

void cKelimboProvEo::AppendArticleUtf8(std::string& out, std::uint32_t start, std::uint32_t end) {
    char text[kMaxArticleUnits + 1];
    const std::size_t bytes = ReadText(start, end, text);
    // The same order as above: letters joined first, then the markup left out.
    append_x_ansi_as_utf8(out, std::string_view(text, bytes), "`/");
}

// SPDX-License-Identifier: GPL-2.0-or-later
#include "dictbuild/dictionary_direction.h"

#include "index/language_indexes.h"
#include "platform/code_page.h"
#include "platform/cp1251.h"
#include "text/esperanto_x.h"
#include "text/strip_chars.h"

#include <stdexcept>

namespace {

using platform::FromUtf8;
using platform::ToUtf8;

constexpr char16_t kMarksOfHeadwords[] = u"/`\u0301";

std::u16string Utf16Strict(std::string_view utf8) {
    // The bytes themselves are checked: a decoded U+FFFD may be a real one.
    const std::size_t bad = platform::FirstInvalidUtf8(utf8);
    if (bad != std::string_view::npos) {
        throw std::runtime_error("the text is not valid UTF-8 (byte " + std::to_string(bad + 1) +
                                 " of the entry)");
    }
    return FromUtf8(utf8);
}

// Windows-1251 bytes of the text; no character may be replaced.
std::string Cp1251Strict(std::u16string_view wide) {
    std::string out;
    out.reserve(wide.size());
    for (const char16_t c : wide) {
        const int byte = (c >= 0xD800 && c <= 0xDFFF) ? -1 : platform::Cp1251FromUnicode(c);
        if (byte < 0) {
            throw std::runtime_error("the character \"" + ToUtf8(std::u16string_view(&c, 1)) +
                                     "\" cannot be stored in Windows-1251");
        }
        out += static_cast<char>(static_cast<unsigned char>(byte));
    }
    return out;
}

} // namespace

DictionaryFiles FilesOf(Language language) {
    return language == Language::Esperanto ? kEsperantoFiles : kRussianFiles;
}

std::unique_ptr<cIndex> MakeIndex(Language language) {
    if (language == Language::Esperanto) {
        return std::make_unique<cIndexEo>();
    }
    return std::make_unique<cIndexRu>();
}

Language ParseLanguage(std::string_view name) {
    if (name == "eo") {
        return Language::Esperanto;
    }
    if (name == "ru") {
        return Language::Russian;
    }
    throw std::invalid_argument("the language is eo or ru");
}

std::string HeadwordKey(Language language, std::string_view utf8) {
    const std::u16string bare = strip_chars(Utf16Strict(utf8), kMarksOfHeadwords);
    return Cp1251Strict(language == Language::Esperanto ? accented_to_x(bare) : bare);
}

std::string HeadwordKeyFromText(Language language, std::string_view fileBytes) {
    const std::u16string wide =
        language == Language::Esperanto ? platform::FromAnsi(fileBytes) : Utf16Strict(fileBytes);
    return Cp1251Strict(strip_chars(wide, kMarksOfHeadwords));
}

std::string EncodeArticle(Language language, std::string_view utf8) {
    const std::u16string wide = Utf16Strict(utf8);
    if (language == Language::Esperanto) {
        return Cp1251Strict(accented_to_x(wide));
    }
    return std::string(utf8);
}

// SPDX-License-Identifier: GPL-2.0-or-later
#include "text/word_letter.h"

#include "platform/code_page.h"
#include "text/esperanto_x.h"

bool is_key_letter(char byte) {
    const auto b = static_cast<unsigned char>(byte);
    return (b >= 0x41 && b <= 0x5A) || (b >= 0x61 && b <= 0x7A) || b >= 0xC0 || b == 0xA8 ||
           b == 0xB8; // Ё and ё are letters of common words
}

bool is_word_letter(char16_t c) {
    const std::u16string x = accented_to_x(std::u16string_view(&c, 1));
    char bytes[3] = {};
    const std::size_t count =
        platform::WideToMultiByte(platform::kAnsiCodePage, x.data(), x.size(), bytes, sizeof bytes);
    return count != 0 && is_key_letter(bytes[0]);
}

// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/selected_word.h"

#include "text/word_letter.h"

#include <algorithm>

std::u16string SelectedWord(std::u16string_view text, std::size_t start, std::size_t end) {
    end = std::min(end, text.size());
    start = std::min(start, end);
    while (start < end && !is_word_letter(text[start])) {
        ++start;
    }
    while (start < end && !is_word_letter(text[end - 1])) {
        --end;
    }
    return std::u16string(text.substr(start, end - start));
}

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The word a selection of an article stands for.

#include <cstddef>
#include <string>
#include <string_view>

// The units of `text` from `start` to `end` with everything that is not a word
// letter trimmed off both ends; what lies between stays as it is. Positions past
// the text count as its end; an empty selection, or one without any word
// letter, gives the empty word.
std::u16string SelectedWord(std::u16string_view text, std::size_t start, std::size_t end);

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// How the search window turns a query into list lines, free of any toolkit so
// that the command-line lookup repeats it exactly.

#include "forms/offered_lines.h"
#include "index/headword_range.h"

#include <cstdint>
#include <string_view>

// The list never shows more headwords than this.
inline constexpr std::uint32_t MAX_LIST_LINES = 50;
// The offered lines of base forms fill the same list.
static_assert(forms::kMaxOfferedLines == MAX_LIST_LINES);

// The language rule: the first byte that decides tells. ASCII Latin letters
// (and so x-system Esperanto letters) mean Esperanto; Cyrillic letters and the
// code page's symbols 0x80-0xB8 mean Russian; digits, blanks, punctuation and
// 0xB9-0xBF decide nothing. A query where nothing decides is Russian.
bool IsEsperantoQuery(std::string_view query);

// The positions the list shows for a lookup's range: from its first headword,
// at most MAX_LIST_LINES of them.
HeadwordRange ListedRange(HeadwordRange found);

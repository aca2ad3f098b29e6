// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// An article as an importer produces it, before it is fitted to a direction's
// text file.

#include <string>
#include <vector>

struct ImportedArticle {
    // UTF-8 lookup keys, every one indexed. The first is the article's own
    // headword; the rest are further keys for the same article (variants,
    // indexed words, synonyms). Where the shown headword holds parts that a
    // lookup leaves out, only the text's first line shows them.
    std::vector<std::string> headwords;
    // UTF-8 with '\n' line ends, beginning with its headword line: the text as
    // the reader shall show it. It may hold kMorphemeMark.
    std::string text;
};

// A boundary between a root and its affixes or ending. It is never shown: the
// Esperanto file keeps it as the slash that its reader hides ("hund/o"), the
// Russian file leaves it out. Importers that know no roots never use it.
inline constexpr char kMorphemeMark = '\x1F';

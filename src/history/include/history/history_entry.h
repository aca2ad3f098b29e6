// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// One step of the navigation history: what the search box showed, the articles
// the reader showed for it, and which dictionary they belong to.

#include "index/article_ref.h"

#include <cstdint>
#include <string>
#include <vector>

// The articles an added dictionary showed for an entry, in the direction of
// the entry, named by the dictionary's name. `stamp` is the stamp of that
// dictionary's text file when the references were taken (history_file.h);
// the history sets it.
struct AddedRefs {
    std::string name;             // the dictionary's name, at most 255 bytes
    std::uint32_t stamp = 0;      // its text's stamp
    std::vector<ArticleRef> refs; // in display order, at most 255

    friend bool operator==(const AddedRefs&, const AddedRefs&) = default;
};

struct HistoryEntry {
    std::vector<ArticleRef> refs;      // in display order, at most 255: the data folder's own pair
    std::u16string query;              // the search box's text as shown, at most 255 units
    bool isEsperanto = false;          // true: the Esperanto→Russian dictionary
    std::vector<AddedRefs> added = {}; // the added dictionaries' articles, in the order shown

    friend bool operator==(const HistoryEntry&, const HistoryEntry&) = default;
};

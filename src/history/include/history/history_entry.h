// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// One step of the navigation history: what the search box showed, the articles
// the reader showed for it, and which dictionary they belong to.

#include "index/article_ref.h"

#include <string>
#include <vector>

struct HistoryEntry {
    std::vector<ArticleRef> refs; // in display order, at most 255
    std::u16string query;         // the search box's text as shown, at most 255 units
    bool isEsperanto = false;     // true: the Esperanto→Russian dictionary

    friend bool operator==(const HistoryEntry&, const HistoryEntry&) = default;
};

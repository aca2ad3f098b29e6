// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What the search window's list shows while it shows full-text results: the
// articles the box's text occurs in, a page at a time, rather than headwords.
// The search and the rebuilding of an index run off the window's thread
// (framework/background_work.h); the window keeps this state and turns it
// into list lines.

#include "framework/background_work.h"
#include "framework/controls.h"
#include "lookup/fulltext_search.h"

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

// The caption of the list's last line that offers a full-text search for a
// query no headword answers: «Искать «query» в статьях».
std::u16string FullTextOfferLine(std::u16string_view query);

struct FullTextLine {
    enum class Kind {
        Hit,     // one result; `hit` is its index
        Problem, // an index that cannot answer: choosing it offers the rebuild
        More,    // the next page
        Note,    // what is going on, or why there is nothing
    };
    Kind kind = Kind::Note;
    std::size_t hit = 0;
    std::u16string text;
    std::vector<fw::Selection> bold = {}; // a result's matches in `text`
};

struct FullTextResults {
    bool shown = false;    // the list shows these lines rather than headwords
    std::u16string query;  // the box's text they were searched for
    std::size_t pages = 0; // pages received
    bool more = false;     // a further page is there
    bool loading = false;  // a page has been asked for and has not come yet
    bool rebuilding = false;
    std::u16string message; // why the query could not be searched
    std::vector<FullTextHit> hits;
    std::vector<FullTextStatus> problems;
    // The indexes the user was asked to rebuild already, by (dictionary,
    // direction): asked once, then offered by their problem line.
    std::vector<std::pair<std::size_t, bool>> asked;

    // Forgets the results of the last query (what was asked stays).
    void Clear();
    // The list's lines in order; `withNames` adds each hit's dictionary.
    std::vector<FullTextLine> Lines(bool withNames) const;

    fw::BackgroundWork search;
    fw::BackgroundWork rebuild;
};

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// kelimbo-lookup --fulltext: the full-text search's results on the terminal.

#include <cstddef>
#include <string>
#include <string_view>

class LookupCore;

// Appends one page of the results for `query` (UTF-8) to `out`: a line each,
// "HEADWORD<TAB>SNIPPET", or with `json` one JSON object a line. Indexes that
// cannot answer and a query that cannot be searched are told on the standard
// error. Returns the exit status: 0 answered (perhaps with no result), 1 no
// index could answer, 2 a query without words or too long.
int AppendFullText(LookupCore& core, std::string_view query, std::size_t page, bool json,
                   std::string& out);

// `text` as a JSON string, quotes included: every control character escaped.
void AppendJsonString(std::string& out, std::string_view utf8);

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The note at the start of an imported dictionary's text file.

#include <chrono>
#include <string>
#include <string_view>

struct Provenance {
    std::string title;    // what the file is
    std::string source;   // where its articles come from
    std::string licence;  // under which licence they are given
    std::string credit;   // the credit line the licensor asks for
    std::string dataAsOf; // the date of the newest source article, or empty
};

// The note's lines: the title, then "Source:", "Licence:", "Credit:", "Data
// as of:" (when known) and "Built:" with the build date.
std::string ProvenanceNote(const Provenance& provenance,
                           std::chrono::system_clock::time_point built);

// A day as YYYY-MM-DD, in UTC.
std::string IsoDate(std::chrono::system_clock::time_point when);

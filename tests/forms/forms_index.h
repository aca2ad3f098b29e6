// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Offered lines written as one readable string, for tables of expectations.

#include "forms/offered_lines.h"

#include <string>
#include <string_view>

namespace forms_index {

// The offered lines for the query, in order, apart by blanks: each line's
// headword, and "/" and the base form that found it when the two differ.
// Index-form bytes are shown as UTF-8, Esperanto in x-system spelling.
std::string OfferedText(const forms::FormFinder& finder, const cIndex& index, bool esperanto,
                        std::string_view query);

// The same for the lines a list shows first for a query that is no headword.
std::string FirstLinesText(const forms::FormFinder& finder, const cIndex& index, bool esperanto,
                           std::string_view query);

} // namespace forms_index

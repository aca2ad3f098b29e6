// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Queries that fire the base-form rule on a generated dictionary: inflected
// forms of its own headwords that no headword begins with (or, Leading, that
// are no headword but begin some) and that offer at least one line. Shared by the benchmarks of the
// offered lines and of the window.

#include "bench_setup.h"
#include "forms/offered_lines.h"

#include <cstddef>
#include <string>
#include <vector>

namespace offered_queries {

inline constexpr std::size_t kQueries = 1024;

enum class Kind {
    Inflected, // an ending on a headword: found by the first rules
    Affixed,   // affixes around an Esperanto root: found only by splitting them off
    // No headword, but headwords begin with it: an inflected form, or a
    // headword without its last letter, whose base forms offer lines that
    // lead the prefix lines
    Leading,
};

// One finder for the whole benchmark program (the Russian dictionary read once).
const forms::FormFinder& Finder();

// kQueries such queries in index form, drawn with a fixed seed; made once per
// language, size and kind. Throws std::runtime_error when too few are found.
const std::vector<std::string>& FiringQueries(bench_setup::Language language, std::size_t count,
                                              Kind kind);

} // namespace offered_queries

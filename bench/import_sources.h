// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Writes a benchmark dictionary's Russian direction in other programs' formats,
// for timing the format readers: a StarDict dictionary (.ifo, .idx, .dict,
// sametypesequence=m) and a DSL file (UTF-16LE with its byte-order mark), one
// entry per headword, each with text of its own (the first lines of the
// headword's first article, at most 240 bytes).

#include "bench_dictionary.h"

#include <string>

namespace bench_data {

// Writes `folder`/import.ifo, .idx, .dict and `folder`/import.dsl. Returns the
// entry count.
std::size_t WriteImportSources(const DictionaryFolder& dictionary, const std::string& folder);

} // namespace bench_data

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Putting headwords into an index file and reading the index back, for tests.

#include "index/headword_index.h"
#include "index/index_writer.h"
#include "support/temp_dir.h"

#include <string>
#include <vector>

namespace index_files {

// Each headword with references that tell it apart: the k-th gets k % 3 of them.
std::vector<HeadwordSource> WithRefs(const std::vector<std::string>& words);

// Loads the index from the bytes; the message of the raised cExcMsg as UTF-8,
// or "" when the load succeeds.
std::string LoadBytes(cIndex& index, const testing_support::TempDir& dir, const std::string& bytes);
std::string LoadFile(cIndex& index, const std::string& ansiPath);

// Writes the headwords with the index's own order and loads them.
void LoadWords(cIndex& index, const testing_support::TempDir& dir,
               const std::vector<std::string>& words);

// The headwords of a range, in table order.
std::vector<std::string> Texts(const cIndex& index, HeadwordRange range);

} // namespace index_files

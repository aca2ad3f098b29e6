// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The full-text indexes of a dictionary folder: written by every command
// that writes a direction, and by "kelimbo-index fulltext" for a folder
// written before.

#include <filesystem>
#include <initializer_list>
#include <iosfwd>

namespace fulltext {
class BaseKeys;
}

// Writes the full-text index of a direction of the folder (its text and
// headword index must be there), reporting the sizes on `report` when it is
// given, with the base forms `keys` knows already. Throws what the writing
// raises (cExcMsg).
void WriteFullTextIndex(const std::filesystem::path& folder, bool esperanto, std::ostream* report,
                        fulltext::BaseKeys& keys);

// The same after a command has written the directions, one after the other
// so that the second finds most of its words' base forms worked out: a failure is only a warning on
// the standard error, since the dictionary itself is complete and its full-text index can be built
// again with "kelimbo-index fulltext".
void WriteFullTextAfterImport(const std::filesystem::path& folder,
                              std::initializer_list<bool> directions);

// Runs "fulltext" with the arguments that follow it: DIR, or --name NAME
// [--data DIR]. Returns the exit status (0 done, 1 failed, 2 usage).
int RunFullTextCommand(int argc, char** argv);

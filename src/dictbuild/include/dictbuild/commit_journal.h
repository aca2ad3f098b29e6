// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The journal of a dictionary folder's commit. A commit writes every new file
// under a temporary name first; once all are complete and on the disk, the
// journal listing their renames is put in place, and only then are the files
// renamed over the dictionary's own. The journal goes after the last rename.
// A journal found in the folder is therefore a commit that a killed process
// left half done, decided but not finished: its renames are carried out
// before the folder is read or written again.
//
// The file is read as untrusted input: it names only temporary files of this
// folder and the dictionary's own file names, nothing else.
//
//     kelimbo-commit 1
//     .EoRu_kelimbo.txt.tmpQ3xv7TbLk2 EoRu_kelimbo.txt
//     .EoRu_kelimbo.bsi.tmpk8RwZp0sYa EoRu_kelimbo.bsi
//     end

#include "articles/dictionary_files.h" // the journal's name, kCommitJournalName

#include <string>
#include <string_view>
#include <vector>

// One rename of a commit: names of files in the dictionary folder.
struct StagedRename {
    std::string temporary;
    std::string target;
    bool operator==(const StagedRename&) const = default;
};

// The longest journal read: four renames fit many times over.
inline constexpr std::size_t kMaxCommitJournalBytes = 4096;

std::string EncodeCommitJournal(const std::vector<StagedRename>& renames);

// The renames of a journal's bytes. Throws std::runtime_error saying what is
// wrong with a journal that is not one this program writes: a target that is
// not one of the dictionary's file names, a temporary name that is not one of
// that target's, a repeated target, anything cut short or added.
std::vector<StagedRename> DecodeCommitJournal(std::string_view bytes);

// Whether `name` is one a temporary file of the file `target` gets.
bool IsTemporaryNameOf(std::string_view name, std::string_view target);

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The files of a dictionary folder: for each direction a text file and its
// headword index. The programs find them beside their executable, under these
// names, and the index tool writes them so.

struct DictionaryFiles {
    const char* text;               // the dictionary text file
    const char* index;              // its headword index
    const char* fulltext = nullptr; // its full-text index
};

// Esperanto–Russian: Windows-1251 text in x-system spelling.
inline constexpr DictionaryFiles kEsperantoFiles{"EoRu_kelimbo.txt", "EoRu_kelimbo.bsi",
                                                 "EoRu_kelimbo.fts"};
// Russian–Esperanto: UTF-8 text.
inline constexpr DictionaryFiles kRussianFiles{
    "tarnesk_rusa_esperanto.txt", "tarnesk_rusa_esperanto.bsi", "tarnesk_rusa_esperanto.fts"};

// The journal of an import that is putting its new files in place
// (dictbuild/commit_journal.h): while it is there, the folder holds a
// dictionary that the next start or import finishes.
inline constexpr const char* kCommitJournalName = ".kelimbo-commit";

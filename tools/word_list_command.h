// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// kelimbo-lookup --word-list: the learner's word list on the terminal.

// Whether the command line asks for the word list (an argument --word-list
// before any "--").
bool AsksForWordList(int argc, char** argv);

// Runs the word-list command; its exit status (0 done, 1 a file could not be
// read or written, 2 wrong usage or a word that is neither a headword nor kept).
int RunWordListCommand(int argc, char** argv);

// The usage and help lines of the command, for kelimbo-lookup's --help.
extern const char* const kWordListUsage;
extern const char* const kWordListHelp;

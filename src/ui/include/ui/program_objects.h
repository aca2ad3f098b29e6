// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The window program's objects, gathered in one owner. Start-up creates the
// one owner of a run and hands it to the windows, which reach the objects only
// through it; tests build an owner of their own for each case.
//
//   wordToTranslate   the word the reader hands to the search window
//   dataFolder        the data folder, whose added dictionaries the
//                     dictionaries dialog orders and switches
//   lookup            the dictionaries and their answers (lookup/lookup_core.h):
//                     the list for a typed text, the articles of a line, and the
//                     base forms of a query that finds no headword (it reads the
//                     Russian spelling dictionary on its first Russian use, never
//                     at start-up, and without one offers Esperanto only)
//   theHistory        the navigation history
//   words             the learner's word list (wordlist/word_list.h): the
//                     reader's star adds and removes its words, the search
//                     window shows it; each change is saved at once, the
//                     look-up counts with the history
//   settings          what the windows remember between runs (window_settings.h)
//
// The members are constructed in this order and destroyed in the reverse one.
// The error contexts that name a file in read and write errors belong to the
// objects that read the files (the indexes, the providers, the history file),
// so no object of the program is shared by all of them.

#include "history/history.h"
#include "lookup/lookup_core.h"
#include "ui/window_settings.h"
#include "wordlist/word_list.h"

#include <string>

struct ProgramObjects {
    ProgramObjects() = default;
    ProgramObjects(const ProgramObjects&) = delete;
    ProgramObjects& operator=(const ProgramObjects&) = delete;

    std::u16string wordToTranslate;
    std::string dataFolder; // the dictionaries' folder the lookup core was opened on
    LookupCore lookup;
    cHistory theHistory;
    wordlist::WordList words;
    WindowSettings settings;
};

// Gives the history the added dictionaries the lookup core answers from now,
// by which it stamps and keeps their references.
void KeepHistoryInStep(ProgramObjects& objects);

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The window program's objects, gathered in one owner. Start-up creates the
// one owner of a run and hands it to the windows, which reach the objects only
// through it; tests build an owner of their own for each case.
//
//   wordToTranslate   the word the reader hands to the search window
//   ruIndex           the Russian headword index
//   eoIndex           the Esperanto headword index
//   ruProv            the Russian–Esperanto article provider
//   eoProv            the Esperanto–Russian article provider
//   theHistory        the navigation history
//   settings          what the windows remember between runs (window_settings.h)
//   formFinder        the base forms of a query that finds no headword; it reads
//                     the Russian spelling dictionary on its first Russian use,
//                     never at start-up, and without one offers Esperanto only
//   fileContext       the file named by read and write errors
//
// The members are constructed in this order and destroyed in the reverse one.
// fileContext is not a member but the checked file operations' own context
// (errors/checked_io.h), which lies below every user of a file; the owner
// refers to it and starts it empty, as a fresh process has it.

#include "articles/provider_eo.h"
#include "articles/provider_ru.h"
#include "errors/checked_io.h"
#include "forms/offered_lines.h"
#include "history/history.h"
#include "index/language_indexes.h"
#include "ui/window_settings.h"

#include <string>

struct ProgramObjects {
    ProgramObjects() { fileContext.clear(); }
    ProgramObjects(const ProgramObjects&) = delete;
    ProgramObjects& operator=(const ProgramObjects&) = delete;

    std::u16string wordToTranslate;
    cIndexRu ruIndex;
    cIndexEo eoIndex;
    cKelimboProvRu ruProv;
    cKelimboProvEo eoProv;
    cHistory theHistory;
    WindowSettings settings;
    forms::FormFinder formFinder;
    std::string& fileContext = ::fileContext;
};

#pragma once
// The window program's program-wide objects. They are constructed before
// start-up, in the order below, and destroyed in the reverse order when the
// process ends; all are defined in program_objects.cpp.
//
//   1 wordToTranslate   the word the reader hands to the search window
//   2 ruIndex           the Russian headword index
//   3 eoIndex           the Esperanto headword index
//   4 ruProv            the Russian–Esperanto article provider
//   5 eoProv            the Esperanto–Russian article provider
//   6 theHistory        the navigation history
//   7 theApp            the application object
//   8 fileContext       the file named by read and write errors (app/checked_io.h)

#include "app/checked_io.h"
#include "articles/provider_eo.h"
#include "articles/provider_ru.h"
#include "history/history.h"
#include "index/language_indexes.h"

#include <string>

class CKelimboApp;

extern std::u16string wordToTranslate;
extern cIndexRu ruIndex;
extern cIndexEo eoIndex;
extern cKelimboProvRu ruProv;
extern cKelimboProvEo eoProv;
extern cHistory theHistory;
extern CKelimboApp theApp;

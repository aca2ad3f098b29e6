// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A data folder for window tests: small indexes written with the index writer,
// the two dictionary text files, and the program's objects of one test.

#include "support/temp_dir.h"
#include "ui/program_objects.h"

#include <cstdint>
#include <string>
#include <vector>

namespace dictionary_fixture {

// Russian headwords (UTF-8 here): "аба000" … "аба059", "абажур", "абзац",
// "ёж", "жук", "123", "«Ура»"; Esperanto headwords in x-system form:
// "sxafo", "sxanco", "cxapelo", "Cxinio", "1a", "abc", "ab".
std::vector<std::string> RussianHeadwords();
std::vector<std::string> EsperantoHeadwords();

// Writes "tarnesk_rusa_esperanto.bsi" and "EoRu_kelimbo.bsi" (unless told not
// to), each bound to its text, and both text files, into the folder.
void WriteDataFiles(const testing_support::TempDir& dir, bool withRuIndex = true);

// Points the owner's lookup core at the folder and loads both directions.
void LoadIndexes(ProgramObjects& objects, const testing_support::TempDir& dir);

// A test's own program objects, fresh for each test, each also under its usual
// name. A fixture derives from this before it declares the windows that use it.
class WithProgramObjects {
protected:
    ProgramObjects objects;
    std::u16string& wordToTranslate = objects.wordToTranslate;
    cIndexRu& ruIndex = objects.lookup.RussianIndex();
    cIndexEo& eoIndex = objects.lookup.EsperantoIndex();
    cKelimboProvRu& ruProv = objects.lookup.RussianProvider();
    cKelimboProvEo& eoProv = objects.lookup.EsperantoProvider();
    cHistory& theHistory = objects.theHistory;
};

// The path of an executable named "kelimbo" in the folder.
std::string ModulePath(const testing_support::TempDir& dir);

} // namespace dictionary_fixture

#pragma once
// A data folder for window tests: small indexes written with the index writer,
// the two dictionary text files, and a way back to fresh program-wide objects.

#include "support/temp_dir.h"

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
// to), and both text files, into the folder.
void WriteDataFiles(const testing_support::TempDir& dir, bool withRuIndex = true);

// Loads ruIndex and eoIndex from the folder's index files.
void LoadIndexes(const testing_support::TempDir& dir);

// Makes every program-wide object as it is before start-up.
void ResetProgramObjects();

// The path of an executable named "kelimbo" in the folder.
std::u16string ModulePath(const testing_support::TempDir& dir);

} // namespace dictionary_fixture

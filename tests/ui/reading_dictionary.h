// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A small data folder whose articles have real text, for the reader and the
// reader loop: both indexes and both dictionary text files.
//
// Esperanto–Russian ("EoRu_kelimbo.txt", Windows-1251, x-system):
//   hundo   "hundo\nсобака, пёс; hunda — собачий"
//   kato    "kato\nкошка, кот"
//   sxafo   "sxafo\nовца"
//   longa   two articles of some 1300 bytes each; the second ends in "kato"
//   ami     "ami\nлюбить; sxi amas hundojn" (an inflected word to translate)
// Russian–Esperanto ("tarnesk_rusa_esperanto.txt", UTF-8, accents marked):
//   собака  "соба́ка\nhundo"
//   кошка   "ко́шка\nkato"
//   дом     "дом\ndomo"
//   дома    "до́ма\nhejme"
//   ёж      "ёж\nerinaco, «ёжик» erinaceto"

#include "support/temp_dir.h"

#include <string>

namespace reading_dictionary {

void Write(const testing_support::TempDir& dir);

// The shown text of the Esperanto headword "longa": its two articles, each
// followed by CR LF.
std::u16string LongArticleText();

} // namespace reading_dictionary

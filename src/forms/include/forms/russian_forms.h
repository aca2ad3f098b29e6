// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The base forms of an inflected Russian word: the analyser's lemmas, the
// spelling dictionary's stems, and the readings with ё of a word written with е.

#include "forms/base_form.h"
#include "forms/russian_analyser.h"
#include "forms/russian_stemmer.h"

#include <string_view>
#include <vector>

namespace forms {

// The base forms of a one-word query in Windows-1251, most likely first, all in
// one tier: the analyser's lemmas of the word (люди → человек; a lemma with ё
// after its spelling with е when the query has no ё), or when it
// knows none the spelling dictionary's stems, or when neither knows the word
// those of the word with a capital first letter (москвой → Москва); then for
// each е of the word, the word with that е read as ё (елка → ёлка) and its
// lemmas or stems (елки → ёлка).
// None is the query itself, and none repeats another, as the Russian index
// compares them (case-blind); one of fewer than three letters finds only the
// headwords equal to it. Without a dictionary only the readings remain.
std::vector<BaseForm> RussianBaseForms(std::string_view query, const RussianAnalyser& analyser,
                                       const RussianStemmer& stemmer);

} // namespace forms

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The lines a list offers when a query finds no headword: the headwords of the
// query's base forms. For each base form, most likely first, the headwords
// equal to it (as the index compares: case-blind, and in the Esperanto index
// blind to hyphens, quotes and full stops), then those it begins; at most
// kMaxOfferedLines lines, none twice.

#include "forms/base_form.h"
#include "forms/esperanto_analysis.h"
#include "forms/russian_analyser.h"
#include "forms/russian_stemmer.h"
#include "index/headword_index.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace forms {

// The most lines an offer holds: as many as the search list shows.
inline constexpr std::uint32_t kMaxOfferedLines = 50;

struct OfferedLine {
    std::uint32_t position = 0; // the headword's position in the index
    std::uint32_t form = 0;     // the base form that found it, in Offered::forms

    friend bool operator==(const OfferedLine&, const OfferedLine&) = default;
};

struct Offered {
    std::vector<BaseForm> forms;    // every base form of the query, in the order tried
    std::vector<OfferedLine> lines; // the offered lines, in list order
    // For an Esperanto word whose base forms found no headword: the parts of
    // its analysis, each also a base form (Rule::Part) with its line first.
    std::vector<WordPart> parts;
};

// Whether an index-form query is one word: letters only (Latin, Cyrillic, Ё, ё;
// accented Esperanto letters are Latin letters here), with a hyphen allowed
// between two letters.
bool IsOneWord(std::string_view query);

// Looks up base forms in an index, in their order: a base form of a later tier
// only when no base form of an earlier tier has a headword equal to it.
std::vector<OfferedLine> OfferLines(const cIndex& index, const std::vector<BaseForm>& forms);

// Whether a key is a headword of the index, as the index compares.
bool IsHeadwordIn(const cIndex& index, std::string_view key);

class FormFinder {
public:
    // `russianDictionary`: the Hunspell dictionary's path without ".aff" and
    // ".dic"; `russianAnalyser`: the compiled lttoolbox analyser. Each is read
    // on the first Russian query that needs it, with the Russian engines'
    // plugin (`russianEngines`; empty: the one beside the program).
    explicit FormFinder(std::string russianDictionary = kSystemRussianDictionary,
                        std::string russianAnalyser = kSystemRussianAnalyser,
                        std::string russianEngines = {});

    // The offered lines for a query in index form (Windows-1251, Esperanto
    // letters in x-system spelling) on the index the language rule chose;
    // `esperanto` tells which rules apply. Empty unless the query is one word
    // and no headword begins with it.
    Offered Offer(const cIndex& index, bool esperanto, std::string_view query) const;

    // The lines a list shows first, before its prefix range, for a query that
    // is one word of three letters or more and not itself a headword,
    // whatever headwords it begins: the headwords of its base forms, most
    // likely first, as Offer gives them; for an Esperanto word whose base
    // forms find no headword equal to one, first one line per part of the
    // word's analysis (hundokuirejo → hundo, kuiri, -ej-). Empty otherwise.
    Offered BaseFormsFirst(const cIndex& index, bool esperanto, std::string_view query) const;

    const RussianStemmer& Russian() const { return m_russian; }
    const RussianAnalyser& Analyser() const { return m_analyser; }

    // Why Russian words got no lemmas or stems although the analyser's or the
    // dictionary's files are there: the plugin that reads them is missing or
    // not this program's. Empty otherwise, and before a Russian query needed them.
    std::string EnginesProblem() const;

private:
    std::vector<BaseForm> BaseForms(bool esperanto, std::string_view query) const;

    RussianStemmer m_russian;
    RussianAnalyser m_analyser;
};

} // namespace forms

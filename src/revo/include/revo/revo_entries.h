// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The articles of both directions that one parsed ReVo document gives.
//
// Esperanto→Russian: one article per derivation (<drv>), with or without
// Russian; what an article or subarticle says outside its derivations is one
// more unit headed by the root, written when it has anything to show. Its
// headword is the derivation's <kap> with the head's own root in place of
// <tld/> (a variant's root only for <tld var="x"/>), its variants (<var>)
// extra headwords; a variant of the head that no derivation gives is an extra
// headword of the derivation that is the head itself. The article gives the
// derivation's labels and Russian translations, or «(перевода нет)» when
// nothing in it has Russian, its definition, then every sense, subsense and
// subderivation, numbered as ReVo numbers them (1., 2. …; a), b) …; A., B. …)
// when there are several, with its Russian, labels and shortened Esperanto
// definition, its examples ("example — перевод" where there is Russian), and
// its synonyms, antonyms and see-also references by name.
//
// Russian→Esperanto: each Russian translation links its text (without its
// explanations) to the Esperanto word or example phrase; RussianArticles
// gathers the links of one Russian headword into one article.

#include "importing/imported_article.h"

#include <libxml/tree.h>

#include <cstddef>
#include <string>
#include <vector>

struct RussianLink {
    std::string headword;             // the translation without its explanations
    std::vector<std::string> indexed; // its words marked for the index (<ind>)
    std::string qualifier;            // its explanations, e.g. "(инструмент)"
    std::string esperanto;            // the Esperanto word or phrase
    std::string gloss;                // labels and the start of the definition, or "см. word"
    bool phrase = false;              // the Esperanto side is an example
    bool official = false;            // the Esperanto word is marked official in ReVo
};

struct DocumentEntries {
    std::vector<ImportedArticle> esperanto;
    std::vector<RussianLink> russian;
    std::size_t articles = 0;     // <art> elements read
    std::size_t derivations = 0;  // derivations seen, with or without Russian
    std::size_t untranslated = 0; // derivations written without any Russian
    std::size_t translations = 0; // Russian translations
    std::string newestDate;       // the latest revision date of its articles, YYYY-MM-DD
};

// Walks a document that RevoParser accepted.
DocumentEntries ExtractEntries(const xmlDoc* doc);

// One article per distinct headword of the links, in the order of the
// headwords' bytes. Within an article the Esperanto words come numbered when
// there are several: translations of words before example phrases, plain
// translations before explained ones, official words first, then in the
// order of the links; repeated lines once. The indexed words of its links are
// the article's extra headwords.
std::vector<ImportedArticle> RussianArticles(const std::vector<RussianLink>& links);

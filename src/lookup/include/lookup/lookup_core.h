// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The lookup core: the dictionaries of a data folder and the answers every
// front end asks of them. The search window, its reader and kelimbo-lookup ask
// the same object, so a typed text gives the same list and a chosen line the
// same articles in each; nothing outside it picks a direction's index or
// provider.

#include "articles/dictionary_files.h"
#include "articles/provider_eo.h"
#include "articles/provider_ru.h"
#include "forms/offered_lines.h"
#include "index/article_ref.h"
#include "index/language_indexes.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct ListResult {
    std::string query; // the query in index form; empty: nothing was looked up
    bool esperanto = false;
    HeadwordRange range; // FindPrefix's range
    HeadwordRange shown; // the positions of the list's lines
    std::vector<std::u16string> lines;
    std::vector<std::size_t> exactLines; // the lines whose headword is the query itself
    // Asked for, and the range empty: the offered lines, with the headwords
    // and the base forms they show.
    forms::Offered offered;
    std::vector<std::u16string> offeredLines;
    std::vector<std::u16string> offeredForms;

    // The list's lines are the range's, or else the offered ones.
    std::size_t LineCount() const {
        return shown.first == shown.last ? offered.lines.size() : shown.last - shown.first;
    }
    // The headword position of a line below LineCount().
    std::uint32_t Position(std::size_t line) const;
};

class LookupCore {
public:
    // No folder: nothing is ever read on the core's own initiative; the
    // owner loads the directions (RussianIndex() and the others) itself.
    LookupCore() = default;
    // The dictionaries of the ANSI folder (ending in its separator, or empty).
    // Nothing is read yet: each index is loaded the first time a query of its
    // language needs it, so a lookup in one direction never reads the other.
    explicit LookupCore(const std::string& ansiFolder);
    // Points a core made without a folder at one, as the constructor does.
    void Open(const std::string& ansiFolder);
    LookupCore(const LookupCore&) = delete;
    LookupCore& operator=(const LookupCore&) = delete;

    // Loads both directions now, in the order the window's start-up reports
    // their errors: the Russian index, the Esperanto index, then the texts.
    // Raises cExcMsg for the first that fails.
    void Load();

    // The list for text typed into the search box; with `offerForms`, the
    // offered lines too when the range is empty. Raises cExcMsg when the
    // index cannot be loaded, or has changed on disk since it was.
    ListResult List(std::u16string_view typed, bool offerForms = false);

    // The same list, its lines appended to `printed` in UTF-8 instead of kept
    // in `lines`, `offeredLines` and `offeredForms`: each line ended by '\n',
    // an offered one as "HEADWORD<TAB>BASE FORM". A failure leaves `printed`
    // as it was.
    ListResult List(std::u16string_view typed, bool offerForms, std::string& printed);

    // The list for a query already in index form (the search box's text once
    // converted); an empty query gives an empty result with `query` empty.
    ListResult ListKey(std::string_view query, bool offerForms);

    // The reader's text for one line of a list.
    std::u16string Article(const ListResult& list, std::size_t line);

    // The same text in UTF-8, appended to `out`; a failure leaves `out` as it was.
    void AppendArticle(const ListResult& list, std::size_t line, std::string& out);

    // The lines of a list whose headword is the query itself.
    std::vector<std::size_t> ExactLines(const ListResult& list);

    // What a line opens: the references of its headword, which the history
    // keeps with the list's direction to reopen them.
    std::vector<ArticleRef> Refs(const ListResult& list, std::size_t line);
    // The headword a line shows, as the reader names it.
    std::u16string Headword(const ListResult& list, std::size_t line);

    // The provider of a direction's articles, which turns references (of a
    // line, or of a history entry) into the reader's text.
    cKelimboProv& Provider(bool esperanto);
    // The text file of a direction, as the history's stamp names it.
    const std::string& TextPath(bool esperanto);

    // The objects themselves, for start-up's checks, the benchmarks and tests.
    cIndexRu& RussianIndex() { return m_ruIndex; }
    cIndexEo& EsperantoIndex() { return m_eoIndex; }
    cKelimboProvRu& RussianProvider() { return m_ruProv; }
    cKelimboProvEo& EsperantoProvider() { return m_eoProv; }
    const forms::FormFinder& Forms() const { return m_forms; }

private:
    // One direction of the folder: its files, index and provider.
    struct Direction {
        const DictionaryFiles& files;
        cIndex& index;
        cKelimboProv& provider;
        bool loaded = false;
    };
    Direction& DirectionOf(bool esperanto) { return m_directions[esperanto ? 1 : 0]; }
    // The index of a direction, loaded on first use.
    const cIndex& Index(bool esperanto);
    // List's work; `printed` null: the lines kept as UTF-16 strings.
    ListResult MakeList(std::string query, bool offerForms, std::string* printed);

    std::string m_folder;
    bool m_reads = false; // whether the core loads the directions from m_folder
    cIndexRu m_ruIndex;
    cIndexEo m_eoIndex;
    cKelimboProvRu m_ruProv;
    cKelimboProvEo m_eoProv;
    Direction m_directions[2] = {{kRussianFiles, m_ruIndex, m_ruProv},
                                 {kEsperantoFiles, m_eoIndex, m_eoProv}};
    forms::FormFinder m_forms;
};

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Both dictionaries of a data folder, looked up as the search window does it.

#include "articles/provider_eo.h"
#include "articles/provider_ru.h"
#include "forms/offered_lines.h"
#include "index/language_indexes.h"

#include <cstddef>
#include <string>
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

class DictionaryFolder {
public:
    // The dictionaries of the ANSI folder (ending in its separator, or empty).
    // Nothing is read yet: each index is loaded the first time a query of its
    // language needs it, so a lookup in one direction never reads the other.
    explicit DictionaryFolder(const std::string& ansiFolder);

    // The list for text typed into the search box; with `offerForms`, the
    // offered lines too when the range is empty. Raises cExcMsg when the
    // index cannot be loaded, or has changed on disk since it was.
    ListResult List(std::u16string_view typed, bool offerForms = false);

    // The same list, its lines appended to `printed` in UTF-8 instead of kept
    // in `lines`, `offeredLines` and `offeredForms`: each line ended by '\n',
    // an offered one as "HEADWORD<TAB>BASE FORM". A failure leaves `printed`
    // as it was.
    ListResult List(std::u16string_view typed, bool offerForms, std::string& printed);

    // The reader's text for one line of a list.
    std::u16string Article(const ListResult& list, std::size_t line);

    // The same text in UTF-8, appended to `out`; a failure leaves `out` as it was.
    void AppendArticle(const ListResult& list, std::size_t line, std::string& out);

    // The lines of a list whose headword is the query itself.
    std::vector<std::size_t> ExactLines(const ListResult& list);

private:
    // The index of a direction, loaded on first use.
    const cIndex& Index(bool esperanto);
    // List's work; `printed` null: the lines kept as UTF-16 strings.
    ListResult MakeList(std::u16string_view typed, bool offerForms, std::string* printed);

    std::string m_folder;
    cIndexRu m_ruIndex;
    cIndexEo m_eoIndex;
    bool m_ruLoaded = false;
    bool m_eoLoaded = false;
    cKelimboProvRu m_ruProv;
    cKelimboProvEo m_eoProv;
    forms::FormFinder m_forms;
};

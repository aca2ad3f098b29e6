#pragma once
// Both dictionaries of a data folder, looked up as the search window does it.

#include "articles/provider_eo.h"
#include "articles/provider_ru.h"
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
};

class DictionaryFolder {
public:
    // Loads the Russian index, then the Esperanto one, from the ANSI folder
    // (ending in its separator, or empty), as start-up does. Raises cExcMsg.
    explicit DictionaryFolder(const std::string& ansiFolder);

    // The list for text typed into the search box.
    ListResult List(std::u16string_view typed) const;

    // The reader's text for one line of a list.
    std::u16string Article(const ListResult& list, std::size_t line);

private:
    cIndexRu m_ruIndex;
    cIndexEo m_eoIndex;
    cKelimboProvRu m_ruProv;
    cKelimboProvEo m_eoProv;
};

#include "dictionary_lookup.h"

#include "articles/dictionary_files.h"
#include "query/query_rules.h"
#include "text/esperanto_x.h"
#include "text/index_key.h"

DictionaryFolder::DictionaryFolder(const std::string& ansiFolder) {
    m_ruIndex.Load((ansiFolder + kRussianFiles.index).c_str());
    m_eoIndex.Load((ansiFolder + kEsperantoFiles.index).c_str());
    m_ruProv.path = ansiFolder + kRussianFiles.text;
    m_eoProv.path = ansiFolder + kEsperantoFiles.text;
}

std::uint32_t ListResult::Position(std::size_t line) const {
    return lines.empty() ? offered.lines[line].position
                         : shown.first + static_cast<std::uint32_t>(line);
}

ListResult DictionaryFolder::List(std::u16string_view typed, bool offerForms) const {
    ListResult list;
    const std::u16string box = x_to_accented(typed.substr(0, kMaxBoxUnits));
    list.query = to_index_key(box);
    if (list.query.empty()) {
        return list;
    }
    list.esperanto = IsEsperantoQuery(list.query);
    const cIndex& index = list.esperanto ? static_cast<const cIndex&>(m_eoIndex) : m_ruIndex;
    list.range = index.FindPrefix(list.query);
    list.shown = ListedRange(list.range);
    for (std::uint32_t p = list.shown.first; p < list.shown.last; ++p) {
        list.lines.push_back(from_index_key(index.HeadwordText(p)));
    }
    if (offerForms && list.lines.empty()) {
        list.offered = m_forms.Offer(index, list.esperanto, list.query);
        for (const forms::OfferedLine& line : list.offered.lines) {
            list.offeredLines.push_back(from_index_key(index.HeadwordText(line.position)));
            list.offeredForms.push_back(from_index_key(list.offered.forms[line.form].key));
        }
    }
    return list;
}

std::u16string DictionaryFolder::Article(const ListResult& list, std::size_t line) {
    const cIndex& index = list.esperanto ? static_cast<const cIndex&>(m_eoIndex) : m_ruIndex;
    cKelimboProv& provider = list.esperanto ? static_cast<cKelimboProv&>(m_eoProv) : m_ruProv;
    std::u16string text;
    provider.GetArticles(text, index.GetRefs(list.Position(line)));
    return text;
}

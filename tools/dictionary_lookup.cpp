#include "dictionary_lookup.h"

#include "dictionary_direction.h"
#include "platform/code_page.h"
#include "platform/module_path.h"
#include "text/esperanto_x.h"
#include "text/index_key.h"
#include "ui/query_rules.h"

namespace {

// The search box is read with room for 255 units.
constexpr std::size_t kBoxUnits = 255;

} // namespace

DictionaryFolder::DictionaryFolder(const std::string& ansiFolder) {
    m_ruIndex.Load((ansiFolder + FilesOf(Language::Russian).index).c_str());
    m_eoIndex.Load((ansiFolder + FilesOf(Language::Esperanto).index).c_str());
    m_ruProv.path = ansiFolder + FilesOf(Language::Russian).text;
    m_eoProv.path = ansiFolder + FilesOf(Language::Esperanto).text;
}

std::uint32_t ListResult::Position(std::size_t line) const {
    return lines.empty() ? offered.lines[line].position
                         : shown.first + static_cast<std::uint32_t>(line);
}

ListResult DictionaryFolder::List(std::u16string_view typed, bool offerForms) const {
    ListResult list;
    const std::u16string box = x_to_accented(typed.substr(0, kBoxUnits));
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

std::string ExecutableFolder() {
    const std::u16string path = platform::ModuleFileName();
    std::string ansi(path.size(), '\0');
    ansi.resize(platform::WideToMultiByte(platform::kAnsiCodePage, path.data(), path.size(),
                                          ansi.data(), ansi.size()));
    return ansi.substr(0, ansi.rfind('/') + 1); // no separator: the empty folder
}

// SPDX-License-Identifier: GPL-2.0-or-later
#include "dictionary_lookup.h"

#include "articles/dictionary_files.h"
#include "query/query_rules.h"
#include "text/esperanto_x.h"
#include "text/index_key.h"

DictionaryFolder::DictionaryFolder(const std::string& ansiFolder) : m_folder(ansiFolder) {
    m_ruProv.path = ansiFolder + kRussianFiles.text;
    m_eoProv.path = ansiFolder + kEsperantoFiles.text;
}

const cIndex& DictionaryFolder::Index(bool esperanto) {
    cIndex& index = esperanto ? static_cast<cIndex&>(m_eoIndex) : m_ruIndex;
    bool& loaded = esperanto ? m_eoLoaded : m_ruLoaded;
    if (!loaded) {
        const DictionaryFiles& files = esperanto ? kEsperantoFiles : kRussianFiles;
        index.Load((m_folder + files.index).c_str());
        // The text is opened with its index, and read through that one file.
        cKelimboProv& provider = esperanto ? static_cast<cKelimboProv&>(m_eoProv) : m_ruProv;
        provider.Load(m_folder + files.text, index);
        loaded = true;
    }
    return index;
}

std::uint32_t ListResult::Position(std::size_t line) const {
    return shown.first == shown.last ? offered.lines[line].position
                                     : shown.first + static_cast<std::uint32_t>(line);
}

ListResult DictionaryFolder::List(std::u16string_view typed, bool offerForms) {
    return MakeList(typed, offerForms, nullptr);
}

ListResult DictionaryFolder::List(std::u16string_view typed, bool offerForms,
                                  std::string& printed) {
    const std::size_t at = printed.size();
    try {
        return MakeList(typed, offerForms, &printed);
    } catch (...) {
        printed.resize(at); // lines of an index that failed its check are not printed
        throw;
    }
}

ListResult DictionaryFolder::MakeList(std::u16string_view typed, bool offerForms,
                                      std::string* printed) {
    ListResult list;
    const std::u16string box = x_to_accented(typed.substr(0, kMaxBoxUnits));
    list.query = to_index_key(box);
    if (list.query.empty()) {
        return list;
    }
    list.esperanto = IsEsperantoQuery(list.query);
    const cIndex& index = Index(list.esperanto);
    list.range = index.FindPrefix(list.query);
    list.shown = ListedRange(list.range);
    if (printed == nullptr) {
        list.lines.reserve(list.shown.last - list.shown.first);
    }
    for (std::uint32_t p = list.shown.first; p < list.shown.last; ++p) {
        const std::string_view headword = index.HeadwordText(p);
        if (headword == list.query) {
            list.exactLines.push_back(p - list.shown.first);
        }
        if (printed != nullptr) {
            append_index_key_utf8(*printed, headword);
            *printed += '\n';
        } else {
            list.lines.push_back(from_index_key(headword));
        }
    }
    if (offerForms && list.shown.first == list.shown.last) {
        list.offered = m_forms.Offer(index, list.esperanto, list.query);
        for (const forms::OfferedLine& line : list.offered.lines) {
            const std::string_view headword = index.HeadwordText(line.position);
            const std::string& form = list.offered.forms[line.form].key;
            if (printed != nullptr) {
                append_index_key_utf8(*printed, headword);
                *printed += '\t';
                append_index_key_utf8(*printed, form);
                *printed += '\n';
            } else {
                list.offeredLines.push_back(from_index_key(headword));
                list.offeredForms.push_back(from_index_key(form));
            }
        }
    }
    index.CheckFile(); // what was read is the index that was checked
    return list;
}

std::u16string DictionaryFolder::Article(const ListResult& list, std::size_t line) {
    const cIndex& index = Index(list.esperanto);
    cKelimboProv& provider = list.esperanto ? static_cast<cKelimboProv&>(m_eoProv) : m_ruProv;
    const std::vector<ArticleRef> refs = index.GetRefs(list.Position(line));
    index.CheckFile();
    std::u16string text;
    provider.GetArticles(text, refs);
    return text;
}

void DictionaryFolder::AppendArticle(const ListResult& list, std::size_t line, std::string& out) {
    const cIndex& index = Index(list.esperanto);
    cKelimboProv& provider = list.esperanto ? static_cast<cKelimboProv&>(m_eoProv) : m_ruProv;
    const std::vector<ArticleRef> refs = index.GetRefs(list.Position(line));
    index.CheckFile();
    provider.AppendArticlesUtf8(out, refs);
}

std::vector<std::size_t> DictionaryFolder::ExactLines(const ListResult& list) {
    return list.exactLines; // found while the list was made, and checked with it
}

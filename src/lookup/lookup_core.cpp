// SPDX-License-Identifier: GPL-2.0-or-later
#include "lookup/lookup_core.h"

#include "lookup/query_rules.h"
#include "text/esperanto_x.h"
#include "text/index_key.h"

#include <utility>

LookupCore::LookupCore(const std::string& ansiFolder) {
    Open(ansiFolder);
}

void LookupCore::Open(const std::string& ansiFolder) {
    m_folder = ansiFolder;
    m_reads = true;
    for (Direction& direction : m_directions) {
        direction.provider.path = ansiFolder + direction.files.text;
        direction.loaded = false;
    }
}

void LookupCore::Load() {
    if (!m_reads) {
        return;
    }
    for (Direction& direction : m_directions) {
        direction.index.Load((m_folder + direction.files.index).c_str());
    }
    for (Direction& direction : m_directions) {
        direction.provider.Load(m_folder + direction.files.text, direction.index);
        direction.loaded = true;
    }
}

const cIndex& LookupCore::Index(bool esperanto) {
    Direction& direction = DirectionOf(esperanto);
    if (m_reads && !direction.loaded) {
        direction.index.Load((m_folder + direction.files.index).c_str());
        // The text is opened with its index, and read through that one file.
        direction.provider.Load(m_folder + direction.files.text, direction.index);
        direction.loaded = true;
    }
    return direction.index;
}

cKelimboProv& LookupCore::Provider(bool esperanto) {
    return DirectionOf(esperanto).provider;
}

const std::string& LookupCore::TextPath(bool esperanto) {
    return DirectionOf(esperanto).provider.path;
}

std::uint32_t ListResult::Position(std::size_t line) const {
    return shown.first == shown.last ? offered.lines[line].position
                                     : shown.first + static_cast<std::uint32_t>(line);
}

namespace {
// The search box's text in index form: at most the box's length, its
// x-system pairs accented.
std::string KeyOf(std::u16string_view typed) {
    return to_index_key(x_to_accented(typed.substr(0, kMaxBoxUnits)));
}
} // namespace

ListResult LookupCore::List(std::u16string_view typed, bool offerForms) {
    return MakeList(KeyOf(typed), offerForms, nullptr);
}

ListResult LookupCore::ListKey(std::string_view query, bool offerForms) {
    return MakeList(std::string(query), offerForms, nullptr);
}

ListResult LookupCore::List(std::u16string_view typed, bool offerForms, std::string& printed) {
    const std::size_t at = printed.size();
    try {
        return MakeList(KeyOf(typed), offerForms, &printed);
    } catch (...) {
        printed.resize(at); // lines of an index that failed its check are not printed
        throw;
    }
}

ListResult LookupCore::MakeList(std::string query, bool offerForms, std::string* printed) {
    ListResult list;
    list.query = std::move(query);
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

std::u16string LookupCore::Article(const ListResult& list, std::size_t line) {
    const std::vector<ArticleRef> refs = Refs(list, line);
    std::u16string text;
    Provider(list.esperanto).GetArticles(text, refs);
    return text;
}

void LookupCore::AppendArticle(const ListResult& list, std::size_t line, std::string& out) {
    const std::vector<ArticleRef> refs = Refs(list, line);
    Provider(list.esperanto).AppendArticlesUtf8(out, refs);
}

std::vector<std::size_t> LookupCore::ExactLines(const ListResult& list) {
    return list.exactLines; // found while the list was made, and checked with it
}

std::vector<ArticleRef> LookupCore::Refs(const ListResult& list, std::size_t line) {
    const cIndex& index = Index(list.esperanto);
    std::vector<ArticleRef> refs = index.GetRefs(list.Position(line));
    index.CheckFile();
    return refs;
}

std::u16string LookupCore::Headword(const ListResult& list, std::size_t line) {
    const cIndex& index = Index(list.esperanto);
    std::u16string headword = from_index_key(index.HeadwordText(list.Position(line)));
    index.CheckFile();
    return headword;
}

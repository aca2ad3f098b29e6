// SPDX-License-Identifier: GPL-2.0-or-later
#include "lookup/lookup_core.h"

#include "articles/dictionary_set.h"
#include "errors/exc_msg.h"
#include "lookup/query_rules.h"
#include "platform/code_page.h"
#include "text/esperanto_x.h"
#include "text/index_key.h"

#include <algorithm>
#include <utility>

// One dictionary: both directions' objects, each direction read on first use.
struct LookupCore::Dictionary {
    struct Direction {
        const DictionaryFiles& files;
        cIndex& index;
        cKelimboProv& provider;
        bool held = true;    // the dictionary holds this direction
        bool loaded = false; // read, or loaded by the owner
        bool failed = false; // could not be read: passed over from then on
    };

    Dictionary(DictionarySource source, bool readsFolder) { Reset(std::move(source), readsFolder); }
    // Points the dictionary at a source; nothing is read yet.
    void Reset(DictionarySource source, bool readsFolder) {
        name = std::move(source.name);
        folder = std::move(source.folder);
        reads = readsFolder;
        directions[0].held = source.russian;
        directions[1].held = source.esperanto;
        for (Direction& direction : directions) {
            direction.loaded = direction.failed = false;
            direction.provider.path = folder + direction.files.text;
        }
    }
    Direction& Of(bool esperanto) { return directions[esperanto ? 1 : 0]; }

    std::string name;
    std::string folder;
    bool reads = false; // whether the core loads the directions from `folder`
    cIndexRu ruIndex;
    cIndexEo eoIndex;
    cKelimboProvRu ruProv;
    cKelimboProvEo eoProv;
    Direction directions[2] = {{kRussianFiles, ruIndex, ruProv},
                               {kEsperantoFiles, eoIndex, eoProv}};
};

std::vector<DictionarySource> DictionarySourcesOf(const std::string& dataFolder,
                                                  std::vector<std::string>& messages) {
    std::vector<DictionarySource> sources{{std::string(kMainDictionaryName), dataFolder}};
    DictionaryList added = ListDictionaries(dataFolder);
    for (AddedDictionary& dictionary : added.dictionaries) {
        if (dictionary.enabled) {
            sources.push_back({std::move(dictionary.name), std::move(dictionary.folder),
                               dictionary.russian, dictionary.esperanto});
        }
    }
    for (std::string& message : added.messages) {
        messages.push_back(std::move(message));
    }
    return sources;
}

std::optional<DictionarySource> DictionarySourceNamed(const std::string& dataFolder,
                                                      std::string_view name) {
    if (name == kMainDictionaryName) {
        return DictionarySource{std::string(kMainDictionaryName), dataFolder};
    }
    for (AddedDictionary& dictionary : ListDictionaries(dataFolder).dictionaries) {
        if (dictionary.name == name) {
            return DictionarySource{std::move(dictionary.name), std::move(dictionary.folder),
                                    dictionary.russian, dictionary.esperanto};
        }
    }
    return std::nullopt;
}

LookupCore::LookupCore() {
    m_dictionaries.push_back(std::make_unique<Dictionary>(DictionarySource{}, false));
}

LookupCore::LookupCore(const std::string& ansiFolder) {
    Open(ansiFolder);
}

LookupCore::LookupCore(std::vector<DictionarySource> sources) {
    Open(std::move(sources));
}

LookupCore::~LookupCore() = default;

void LookupCore::Open(const std::string& ansiFolder) {
    Open({DictionarySource{std::string(kMainDictionaryName), ansiFolder}});
}

void LookupCore::Open(std::vector<DictionarySource> sources) {
    // The first dictionary's objects stay where they are, so that references
    // to them (RussianIndex() and the others) outlive a new opening.
    if (m_dictionaries.empty()) {
        m_dictionaries.push_back(std::make_unique<Dictionary>(DictionarySource{}, false));
    }
    m_dictionaries.resize(1);
    m_messages.clear();
    m_fullText.Reset(sources);
    if (sources.empty()) {
        m_dictionaries.front()->Reset(DictionarySource{}, false);
        return;
    }
    m_dictionaries.front()->Reset(std::move(sources.front()), true);
    for (std::size_t i = 1; i < sources.size(); ++i) {
        m_dictionaries.push_back(std::make_unique<Dictionary>(std::move(sources[i]), true));
    }
}

void LookupCore::Load() {
    Dictionary& main = *m_dictionaries.front();
    if (!main.reads) {
        return;
    }
    for (Dictionary::Direction& direction : main.directions) {
        direction.index.Load((main.folder + direction.files.index).c_str());
    }
    for (Dictionary::Direction& direction : main.directions) {
        direction.provider.Load(main.folder + direction.files.text, direction.index);
        direction.loaded = true;
    }
}

const cIndex& LookupCore::Index(std::size_t dictionary, bool esperanto) {
    Dictionary& d = *m_dictionaries[dictionary];
    Dictionary::Direction& direction = d.Of(esperanto);
    if (d.reads && !direction.loaded) {
        direction.index.Load((d.folder + direction.files.index).c_str());
        // The text is opened with its index, and read through that one file.
        direction.provider.Load(d.folder + direction.files.text, direction.index);
        direction.loaded = true;
    }
    return direction.index;
}

void LookupCore::PassOver(std::size_t dictionary, bool esperanto, const std::string& reason) {
    Dictionary& d = *m_dictionaries[dictionary];
    d.Of(esperanto).failed = true;
    m_messages.push_back(d.name + ": " + reason);
}

std::vector<std::size_t> LookupCore::Answering(bool esperanto) {
    std::vector<std::size_t> answering;
    for (std::size_t i = 0; i < m_dictionaries.size(); ++i) {
        const Dictionary::Direction& direction = m_dictionaries[i]->Of(esperanto);
        if (!direction.held || direction.failed) {
            continue;
        }
        if (i > 0) {
            try {
                Index(i, esperanto);
            } catch (const cExcMsg& e) {
                PassOver(i, esperanto, platform::ToUtf8(e.GetMsg()));
                continue;
            }
        }
        answering.push_back(i);
    }
    return answering;
}

cKelimboProv& LookupCore::Provider(bool esperanto) {
    return m_dictionaries.front()->Of(esperanto).provider;
}

const std::string& LookupCore::TextPath(bool esperanto) {
    return m_dictionaries.front()->Of(esperanto).provider.path;
}

std::vector<std::string> LookupCore::Names() const {
    std::vector<std::string> names;
    for (const auto& d : m_dictionaries) {
        names.push_back(d->name);
    }
    return names;
}

cIndexRu& LookupCore::RussianIndex() {
    return m_dictionaries.front()->ruIndex;
}
cIndexEo& LookupCore::EsperantoIndex() {
    return m_dictionaries.front()->eoIndex;
}
cKelimboProvRu& LookupCore::RussianProvider() {
    return m_dictionaries.front()->ruProv;
}
cKelimboProvEo& LookupCore::EsperantoProvider() {
    return m_dictionaries.front()->eoProv;
}

std::uint32_t ListResult::Position(std::size_t line) const {
    return positions.empty() ? shown.first + static_cast<std::uint32_t>(line) : positions[line];
}

namespace {
// The search box's text in index form: at most the box's length, its
// x-system pairs accented.
std::string KeyOf(std::u16string_view typed) {
    return to_index_key(x_to_accented(typed.substr(0, kMaxBoxUnits)));
}

// A line of the list in the wanted form: printed in UTF-8, or kept.
void Emit(std::string_view headword, std::string* printed, std::vector<std::u16string>& lines) {
    if (printed != nullptr) {
        append_index_key_utf8(*printed, headword);
        *printed += '\n';
    } else {
        lines.push_back(from_index_key(headword));
    }
}

void EmitOffered(std::string_view headword, std::string_view form, std::string* printed,
                 ListResult& list) {
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

// One dictionary's part of a merged list: its headwords in index order.
struct Candidates {
    std::size_t dictionary = 0;
    std::vector<std::pair<std::string_view, std::uint32_t>> headwords;
    std::size_t next = 0;
    bool Done() const { return next == headwords.size(); }
};
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
    if (m_dictionaries.size() > 1) {
        const std::vector<std::size_t> answering = Answering(list.esperanto);
        if (answering.size() != 1 || answering.front() != 0) {
            return MergedList(std::move(list), answering, offerForms, printed);
        }
    }
    const cIndex& index = Index(0, list.esperanto);
    list.range = index.FindPrefix(list.query);
    list.shown = ListedRange(list.range);
    if (offerForms) {
        list.offered =
            OfferedFor(index, list.esperanto, list.query, list.range.first == list.range.last);
    }
    if (list.offered.lines.empty()) {
        if (printed == nullptr) {
            list.lines.reserve(list.shown.last - list.shown.first);
        }
        for (std::uint32_t p = list.shown.first; p < list.shown.last; ++p) {
            const std::string_view headword = index.HeadwordText(p);
            if (headword == list.query) {
                list.exactLines.push_back(p - list.shown.first);
            }
            Emit(headword, printed, list.lines);
        }
        index.CheckFile(); // what was read is the index that was checked
        return list;
    }
    // The base forms' lines first, then the range's lines they do not show.
    for (const forms::OfferedLine& line : list.offered.lines) {
        EmitOffered(index.HeadwordText(line.position), list.offered.forms[line.form].key, printed,
                    list);
        list.positions.push_back(line.position);
    }
    const std::size_t offeredCount = list.positions.size();
    for (std::uint32_t p = list.shown.first;
         p < list.shown.last && list.positions.size() < MAX_LIST_LINES; ++p) {
        const auto end = list.positions.begin() + static_cast<std::ptrdiff_t>(offeredCount);
        if (std::find(list.positions.begin(), end, p) != end) {
            continue;
        }
        const std::string_view headword = index.HeadwordText(p);
        if (headword == list.query) {
            list.exactLines.push_back(list.positions.size());
        }
        Emit(headword, printed, list.lines);
        list.positions.push_back(p);
    }
    index.CheckFile(); // what was read is the index that was checked
    return list;
}

forms::Offered LookupCore::OfferedFor(const cIndex& index, bool esperanto, std::string_view query,
                                      bool noPrefixLines) const {
    forms::Offered offered = m_forms.BaseFormsFirst(index, esperanto, query);
    if (offered.lines.empty() && noPrefixLines) {
        // A word too short for the rule above still offers its base forms
        // when nothing begins with it.
        offered = m_forms.Offer(index, esperanto, query);
    }
    return offered;
}

ListResult LookupCore::MergedList(ListResult list, const std::vector<std::size_t>& answering,
                                  bool offerForms, std::string* printed) {
    list.merged = true;
    // Each dictionary's first lines, read and checked before any is shown:
    // one whose index fails its check is passed over, the others kept.
    std::vector<Candidates> parts;
    for (const std::size_t d : answering) {
        const cIndex& index = Index(d, list.esperanto);
        Candidates part{d, {}, 0};
        try {
            const HeadwordRange found = index.FindPrefix(list.query);
            if (d == 0) {
                list.range = found; // the range the first dictionary's positions give
            }
            const HeadwordRange shown = ListedRange(found);
            for (std::uint32_t p = shown.first; p < shown.last; ++p) {
                part.headwords.emplace_back(index.HeadwordText(p), p);
            }
            index.CheckFile();
        } catch (const cExcMsg& e) {
            if (d == 0) {
                throw;
            }
            PassOver(d, list.esperanto, platform::ToUtf8(e.GetMsg()));
            continue;
        }
        parts.push_back(std::move(part));
    }
    // The offered lines lead when the query is no headword of any of them:
    // each dictionary's, in the dictionaries' order, a headword offered by
    // several being one line.
    std::vector<std::string_view> offeredHeadwords;
    if (offerForms) {
        const bool noPrefixLines = std::all_of(parts.begin(), parts.end(),
                                               [](const Candidates& part) { return part.Done(); });
        const bool headword = std::any_of(parts.begin(), parts.end(), [&](const Candidates& part) {
            return forms::IsHeadwordIn(Index(part.dictionary, list.esperanto), list.query);
        });
        for (const Candidates& part : parts) {
            if (headword) {
                break;
            }
            const cIndex& index = Index(part.dictionary, list.esperanto);
            const forms::Offered offered =
                OfferedFor(index, list.esperanto, list.query, noPrefixLines);
            for (const forms::OfferedLine& line : offered.lines) {
                const std::string_view text = index.HeadwordText(line.position);
                const auto k = static_cast<std::size_t>(
                    std::find(offeredHeadwords.begin(), offeredHeadwords.end(), text) -
                    offeredHeadwords.begin());
                if (k < offeredHeadwords.size()) {
                    list.sources[k].push_back({part.dictionary, line.position});
                    continue;
                }
                if (list.sources.size() == MAX_LIST_LINES) {
                    continue;
                }
                offeredHeadwords.push_back(text);
                list.sources.push_back({{part.dictionary, line.position}});
                list.offered.forms.push_back(offered.forms[line.form]);
                list.offered.lines.push_back(
                    {line.position, static_cast<std::uint32_t>(list.offered.forms.size() - 1)});
                EmitOffered(text, offered.forms[line.form].key, printed, list);
            }
            for (const forms::WordPart& p : offered.parts) {
                if (std::find(list.offered.parts.begin(), list.offered.parts.end(), p) ==
                    list.offered.parts.end()) {
                    list.offered.parts.push_back(p);
                }
            }
            index.CheckFile();
        }
    }
    // The merge: the least headword next in the language's ordering (the
    // earlier dictionary on a tie), and with it the same headword of every
    // other dictionary, as one line; a headword already offered is passed.
    const pro_less& less =
        Index(answering.empty() ? 0 : answering.front(), list.esperanto).GetLess();
    while (list.sources.size() < MAX_LIST_LINES) {
        Candidates* least = nullptr;
        for (Candidates& part : parts) {
            if (!part.Done() &&
                (least == nullptr ||
                 less.less(part.headwords[part.next].first, least->headwords[least->next].first))) {
                least = &part;
            }
        }
        if (least == nullptr) {
            break;
        }
        const std::string_view headword = least->headwords[least->next].first;
        std::vector<LineSource> line;
        for (Candidates& part : parts) {
            if (!part.Done() && part.headwords[part.next].first == headword) {
                line.push_back({part.dictionary, part.headwords[part.next].second});
                ++part.next;
            }
        }
        const auto k = static_cast<std::size_t>(
            std::find(offeredHeadwords.begin(), offeredHeadwords.end(), headword) -
            offeredHeadwords.begin());
        if (k < offeredHeadwords.size()) {
            // Shown already as offered: the line opens every dictionary's.
            std::vector<LineSource>& offeredLine = list.sources[k];
            for (const LineSource& source : line) {
                if (std::none_of(offeredLine.begin(), offeredLine.end(), [&](const LineSource& s) {
                        return s.dictionary == source.dictionary;
                    })) {
                    offeredLine.push_back(source);
                }
            }
            std::sort(offeredLine.begin(), offeredLine.end(),
                      [](const LineSource& a, const LineSource& b) {
                          return a.dictionary < b.dictionary;
                      });
            continue;
        }
        if (headword == list.query) {
            list.exactLines.push_back(list.sources.size());
        }
        Emit(headword, printed, list.lines);
        list.sources.push_back(std::move(line));
    }
    return list;
}

std::u16string LookupCore::MergedArticle(const ListResult& list, std::size_t line) {
    std::u16string text;
    for (const LineSource& source : list.sources[line]) {
        const cIndex& index = Index(source.dictionary, list.esperanto);
        const std::vector<ArticleRef> refs = index.GetRefs(source.position);
        index.CheckFile();
        std::u16string articles;
        m_dictionaries[source.dictionary]->Of(list.esperanto).provider.GetArticles(articles, refs);
        if (!text.empty()) {
            text += u"\r\n";
        }
        text += u"— " + platform::FromUtf8(m_dictionaries[source.dictionary]->name) + u" —\r\n";
        text += articles;
    }
    return text;
}

void LookupCore::AppendMergedArticle(const ListResult& list, std::size_t line, std::string& out) {
    std::string text; // built aside: a failure leaves `out` as it was
    for (const LineSource& source : list.sources[line]) {
        const cIndex& index = Index(source.dictionary, list.esperanto);
        const std::vector<ArticleRef> refs = index.GetRefs(source.position);
        index.CheckFile();
        if (!text.empty()) {
            text += "\r\n";
        }
        text += "— " + m_dictionaries[source.dictionary]->name + " —\r\n";
        m_dictionaries[source.dictionary]
            ->Of(list.esperanto)
            .provider.AppendArticlesUtf8(text, refs);
    }
    out += text;
}

std::u16string LookupCore::Article(const ListResult& list, std::size_t line) {
    if (list.merged) {
        return MergedArticle(list, line);
    }
    const std::vector<ArticleRef> refs = Refs(list, line);
    std::u16string text;
    Provider(list.esperanto).GetArticles(text, refs);
    return text;
}

void LookupCore::AppendArticle(const ListResult& list, std::size_t line, std::string& out) {
    if (list.merged) {
        AppendMergedArticle(list, line, out);
        return;
    }
    const std::vector<ArticleRef> refs = Refs(list, line);
    Provider(list.esperanto).AppendArticlesUtf8(out, refs);
}

std::vector<std::size_t> LookupCore::ExactLines(const ListResult& list) {
    return list.exactLines; // found while the list was made, and checked with it
}

std::vector<ArticleRef> LookupCore::Refs(const ListResult& list, std::size_t line) {
    if (list.merged) {
        const LineSource& first = list.sources[line].front();
        if (first.dictionary != 0) {
            return {};
        }
        const cIndex& index = Index(0, list.esperanto);
        std::vector<ArticleRef> refs = index.GetRefs(first.position);
        index.CheckFile();
        return refs;
    }
    const cIndex& index = Index(0, list.esperanto);
    std::vector<ArticleRef> refs = index.GetRefs(list.Position(line));
    index.CheckFile();
    return refs;
}

std::u16string LookupCore::Headword(const ListResult& list, std::size_t line) {
    if (list.merged) {
        const LineSource& first = list.sources[line].front();
        const cIndex& index = Index(first.dictionary, list.esperanto);
        std::u16string headword = from_index_key(index.HeadwordText(first.position));
        index.CheckFile();
        return headword;
    }
    const cIndex& index = Index(0, list.esperanto);
    std::u16string headword = from_index_key(index.HeadwordText(list.Position(line)));
    index.CheckFile();
    return headword;
}

std::vector<NamedRefs> LookupCore::AddedRefs(const ListResult& list, std::size_t line) {
    std::vector<NamedRefs> added;
    if (!list.merged) {
        return added;
    }
    for (const LineSource& source : list.sources[line]) {
        if (source.dictionary == 0) {
            continue;
        }
        const cIndex& index = Index(source.dictionary, list.esperanto);
        std::vector<ArticleRef> refs = index.GetRefs(source.position);
        index.CheckFile();
        added.push_back({m_dictionaries[source.dictionary]->name, std::move(refs)});
    }
    return added;
}

std::u16string LookupCore::ArticleOfRefs(bool esperanto, const std::vector<ArticleRef>& refs,
                                         const std::vector<NamedRefs>& added) {
    std::u16string text;
    if (added.empty()) {
        Provider(esperanto).GetArticles(text, refs);
        return text;
    }
    const auto append = [&](std::size_t dictionary, const std::vector<ArticleRef>& part) {
        std::u16string articles;
        m_dictionaries[dictionary]->Of(esperanto).provider.GetArticles(articles, part);
        if (!text.empty()) {
            text += u"\r\n";
        }
        text += u"— " + platform::FromUtf8(m_dictionaries[dictionary]->name) + u" —\r\n";
        text += articles;
    };
    for (const std::size_t dictionary : Answering(esperanto)) {
        if (dictionary == 0) {
            if (!refs.empty()) {
                append(0, refs);
            }
            continue;
        }
        for (const NamedRefs& part : added) {
            if (part.name == m_dictionaries[dictionary]->name && !part.refs.empty()) {
                append(dictionary, part.refs);
                break;
            }
        }
    }
    return text;
}

std::vector<DictionaryTexts> LookupCore::AddedTexts() const {
    std::vector<DictionaryTexts> texts;
    for (std::size_t i = 1; i < m_dictionaries.size(); ++i) {
        const Dictionary& d = *m_dictionaries[i];
        texts.push_back({d.name, d.directions[1].held ? d.directions[1].provider.path : "",
                         d.directions[0].held ? d.directions[0].provider.path : ""});
    }
    return texts;
}

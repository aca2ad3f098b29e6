// SPDX-License-Identifier: GPL-2.0-or-later
#include "lookup/fulltext_search.h"

#include "articles/dictionary_files.h"
#include "fulltext/index_file.h"
#include "fulltext/query.h"
#include "fulltext/snippet.h"
#include "lookup/lookup_core.h"
#include "platform/code_page.h"
#include "platform/file_open.h"
#include "text/esperanto_x.h"
#include "text/strip_chars.h"

#include <filesystem>

namespace {

// One direction of one dictionary: its index, opened on first need, and a
// text file of its own, kept open, for the snippets.
struct Direction {
    std::size_t dictionary = 0;
    bool esperanto = false;
    std::string name;
    std::string textPath;
    std::string headwordPath;
    std::string indexPath;
    fulltext::IndexReader reader;
    bool opened = false;
    bool absent = false; // the dictionary has no text of this direction
    FullTextState state = FullTextState::Missing;
    std::string message;
    platform::FileHandle text; // opened on the first snippet
};

// The article text of a hit as the reader shows it, near enough for a
// snippet: its letters and words are the reader's (the Esperanto text's
// x-system letters accented and its markup left out, the Russian text's
// stress marks left out); line ends may differ, and a snippet makes them
// spaces anyway. Empty when the text cannot be read.
std::u16string SnippetText(Direction& d, const std::vector<ArticleRef>& refs) {
    if (!d.text) {
        d.text = platform::OpenFile(d.textPath, "rb");
        if (!d.text) {
            return {};
        }
    }
    std::u16string shown;
    std::string bytes;
    for (const ArticleRef& ref : refs) {
        bytes.resize(ref.end - ref.start);
        if (!platform::ReadAt(d.text.get(), ref.start, bytes.data(), bytes.size())) {
            return {};
        }
        if (d.esperanto) {
            shown += strip_chars(x_to_accented(platform::FromAnsi(bytes)), u"`/");
        } else {
            std::u16string text = platform::FromUtf8(bytes);
            std::erase(text, u'\u0301');
            shown += text;
        }
        shown += u"\r\n";
    }
    return shown;
}

const DictionaryFiles& FilesOf(bool esperanto) {
    return esperanto ? kEsperantoFiles : kRussianFiles;
}

std::string Described(const Direction& d, FullTextState state, const std::string& reason) {
    const char* direction = d.esperanto ? "эсперанто–русский" : "русско-эсперантский";
    std::string text = "Полнотекстовый индекс словаря «" + d.name + "» (" + direction + ") ";
    switch (state) {
    case FullTextState::Missing:
        text += "не построен";
        break;
    case FullTextState::Stale:
        text += "устарел: словарь изменился после его построения";
        break;
    case FullTextState::Damaged:
        text += "повреждён";
        break;
    case FullTextState::Ready:
        break;
    }
    text += " (" + reason + "). Его строит команда «kelimbo-index fulltext».";
    return text;
}

FullTextStatus StatusOf(const Direction& d) {
    return {d.dictionary, d.name, d.esperanto, d.state, d.message};
}

} // namespace

struct FullTextSearch::Impl {
    explicit Impl(const forms::RussianAnalyser& a) : analyser(a), keys(a) {}

    // Opens a direction's index the first time it is needed.
    void Open(Direction& d) {
        if (d.opened) {
            return;
        }
        std::error_code ignored;
        d.absent = !std::filesystem::exists(d.textPath, ignored) &&
                   !std::filesystem::exists(d.indexPath, ignored);
        std::string reason;
        d.state = d.reader.Open(d.indexPath, d.textPath, reason);
        d.message = d.state == FullTextState::Ready ? std::string() : Described(d, d.state, reason);
        d.opened = true;
    }

    void Fail(Direction& d, const std::string& reason) {
        d.reader.Close();
        d.state = FullTextState::Damaged;
        d.message = Described(d, d.state, reason);
    }

    FullTextHit Hit(Direction& d, fulltext::Entry entry) {
        FullTextHit hit;
        hit.dictionary = d.dictionary;
        hit.dictionaryName = d.name;
        hit.esperanto = d.esperanto;
        hit.headword = platform::FromUtf8(entry.headword);
        hit.refs = std::move(entry.refs);
        return hit;
    }

    // The snippets of a page's hits, their words' base forms worked out
    // together. A text that cannot be read gives no snippet; the hit stands,
    // and opening it gives the reader's message.
    void Snippets(std::vector<FullTextHit>& hits, const std::vector<Direction*>& of,
                  const fulltext::Query& query) {
        std::vector<std::u16string> texts;
        for (std::size_t k = 0; k < hits.size(); ++k) {
            texts.push_back(SnippetText(*of[k], hits[k].refs));
        }
        const std::vector<std::vector<fulltext::Word>> matched =
            fulltext::MatchedWords(texts, query, keys);
        for (std::size_t k = 0; k < hits.size(); ++k) {
            const fulltext::Snippet snippet = fulltext::MakeSnippet(texts[k], matched[k]);
            hits[k].snippet = snippet.text;
            for (const auto& [start, end] : snippet.marks) {
                hits[k].marks.push_back({start, end});
            }
        }
    }

    const forms::RussianAnalyser& analyser;
    fulltext::BaseKeys keys;
    std::vector<std::unique_ptr<Direction>> directions;
    std::mutex mutex;
};

FullTextSearch::FullTextSearch(const forms::RussianAnalyser& analyser)
    : m_impl(std::make_unique<Impl>(analyser)) {}
FullTextSearch::~FullTextSearch() = default;

void FullTextSearch::Reset(std::vector<DictionarySource> sources) {
    std::lock_guard lock(m_impl->mutex);
    m_impl->directions.clear();
    for (std::size_t i = 0; i < sources.size(); ++i) {
        const DictionarySource& source = sources[i];
        for (const bool esperanto : {true, false}) {
            if (!(esperanto ? source.esperanto : source.russian)) {
                continue;
            }
            auto d = std::make_unique<Direction>();
            d->dictionary = i;
            d->esperanto = esperanto;
            d->name = source.name;
            const DictionaryFiles& files = FilesOf(esperanto);
            d->textPath = source.folder + files.text;
            d->headwordPath = source.folder + files.index;
            d->indexPath = source.folder + files.fulltext;
            m_impl->directions.push_back(std::move(d));
        }
    }
}

FullTextPage FullTextSearch::Search(std::u16string_view typed, std::size_t page,
                                    const std::atomic<bool>* cancel) {
    std::lock_guard lock(m_impl->mutex);
    FullTextPage result;
    const fulltext::Query query = fulltext::ParseQuery(typed, m_impl->keys);
    if (!query.error.empty()) {
        result.error = query.error;
        return result;
    }
    const auto stopped = [&] {
        return cancel != nullptr && cancel->load(std::memory_order_relaxed);
    };
    // The hits before this page are counted, not read; one hit beyond it
    // tells whether another page follows.
    // A page beyond any index's reach (the engine counts in 63 bits) is empty.
    if (page >= (std::size_t{1} << 40)) {
        return result;
    }
    std::vector<Direction*> hitDirections;
    std::size_t skip = page * kFullTextPageSize;
    std::size_t wanted = kFullTextPageSize + 1;
    for (const std::unique_ptr<Direction>& owned : m_impl->directions) {
        Direction& d = *owned;
        m_impl->Open(d);
        if (d.absent) {
            continue;
        }
        if (d.state != FullTextState::Ready) {
            result.problems.push_back(StatusOf(d));
            continue;
        }
        if (wanted == 0) {
            continue; // every index is still opened, so that its problems are told
        }
        try {
            if (skip > 0) {
                const std::size_t before = d.reader.Count(query.phrases, skip, cancel);
                if (stopped()) {
                    result.cancelled = true;
                    return result;
                }
                if (before < skip) {
                    skip -= before;
                    continue;
                }
            }
            std::vector<fulltext::Entry> entries =
                d.reader.Select(query.phrases, skip, wanted, cancel);
            skip = 0;
            for (fulltext::Entry& entry : entries) {
                if (stopped()) {
                    result.cancelled = true;
                    return result;
                }
                if (result.hits.size() == kFullTextPageSize) {
                    result.more = true;
                    break;
                }
                result.hits.push_back(m_impl->Hit(d, std::move(entry)));
                hitDirections.push_back(&d);
            }
            wanted -= std::min(wanted, entries.size());
        } catch (const fulltext::IndexError& e) {
            m_impl->Fail(d, e.what());
            result.problems.push_back(StatusOf(d));
        }
        if (stopped()) {
            result.cancelled = true;
            return result;
        }
    }
    m_impl->Snippets(result.hits, hitDirections, query);
    return result;
}

std::vector<FullTextStatus> FullTextSearch::Statuses() {
    std::lock_guard lock(m_impl->mutex);
    std::vector<FullTextStatus> statuses;
    for (const std::unique_ptr<Direction>& d : m_impl->directions) {
        m_impl->Open(*d);
        if (!d->absent) {
            statuses.push_back(StatusOf(*d));
        }
    }
    return statuses;
}

void FullTextSearch::Rebuild(std::size_t dictionary, bool esperanto) {
    std::string textPath;
    std::string headwordPath;
    std::string indexPath;
    {
        std::lock_guard lock(m_impl->mutex);
        for (const std::unique_ptr<Direction>& d : m_impl->directions) {
            if (d->dictionary == dictionary && d->esperanto == esperanto) {
                textPath = d->textPath;
                headwordPath = d->headwordPath;
                indexPath = d->indexPath;
            }
        }
    }
    if (indexPath.empty()) {
        return; // no such direction: nothing to build
    }
    fulltext::WriteIndex(textPath, headwordPath, indexPath, esperanto, m_impl->analyser);
    std::lock_guard lock(m_impl->mutex);
    for (const std::unique_ptr<Direction>& d : m_impl->directions) {
        if (d->indexPath == indexPath) {
            d->reader.Close();
            d->text.reset();
            d->opened = false;
        }
    }
}

std::u16string FullTextSearch::HeadwordOf(bool esperanto, const std::vector<ArticleRef>& refs,
                                          std::string_view added) {
    std::lock_guard lock(m_impl->mutex);
    for (const std::unique_ptr<Direction>& d : m_impl->directions) {
        const bool wanted =
            added.empty() ? d->dictionary == 0 : d->dictionary != 0 && d->name == added;
        if (d->esperanto != esperanto || !wanted) {
            continue;
        }
        m_impl->Open(*d);
        if (d->state != FullTextState::Ready) {
            return {};
        }
        try {
            return platform::FromUtf8(d->reader.HeadwordOf(refs));
        } catch (const fulltext::IndexError& e) {
            m_impl->Fail(*d, e.what());
            return {};
        }
    }
    return {};
}

std::vector<TextRange> FullTextSearch::Matches(std::u16string_view query,
                                               std::u16string_view text) const {
    fulltext::BaseKeys keys(m_impl->analyser);
    const fulltext::Query parsed = fulltext::ParseQuery(query, keys);
    std::vector<TextRange> ranges;
    if (!parsed.error.empty()) {
        return ranges;
    }
    for (const fulltext::Word& word : fulltext::MatchedWords(text, parsed, keys)) {
        ranges.push_back({word.start, word.end});
    }
    return ranges;
}

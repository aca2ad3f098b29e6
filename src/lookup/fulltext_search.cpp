// SPDX-License-Identifier: GPL-2.0-or-later
#include "lookup/fulltext_search.h"

#include "articles/dictionary_files.h"
#include "articles/provider_eo.h"
#include "articles/provider_ru.h"
#include "errors/exc_msg.h"
#include "fulltext/index_file.h"
#include "fulltext/query.h"
#include "fulltext/snippet.h"
#include "lookup/lookup_core.h"
#include "platform/code_page.h"

namespace {

// One direction of one dictionary: its index, opened on first need, and a
// provider of its own for the snippets' text.
struct Direction {
    std::size_t dictionary = 0;
    bool esperanto = false;
    std::string name;
    std::string textPath;
    std::string headwordPath;
    std::string indexPath;
    fulltext::IndexReader reader;
    bool opened = false;
    FullTextState state = FullTextState::Missing;
    std::string message;
    std::unique_ptr<cKelimboProv> provider;
};

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

    FullTextHit Hit(Direction& d, fulltext::Entry entry, const fulltext::Query& query) {
        FullTextHit hit;
        hit.dictionary = d.dictionary;
        hit.dictionaryName = d.name;
        hit.esperanto = d.esperanto;
        hit.headword = platform::FromUtf8(entry.headword);
        hit.refs = std::move(entry.refs);
        std::u16string article;
        try {
            d.provider->GetArticles(article, hit.refs);
        } catch (const cExcMsg&) {
            article.clear(); // the hit stands; opening it gives the reader's message
        }
        const fulltext::Snippet snippet =
            fulltext::MakeSnippet(article, fulltext::MatchedWords(article, query, keys));
        hit.snippet = snippet.text;
        for (const auto& [start, end] : snippet.marks) {
            hit.marks.push_back({start, end});
        }
        return hit;
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
            if (esperanto) {
                d->provider = std::make_unique<cKelimboProvEo>();
            } else {
                d->provider = std::make_unique<cKelimboProvRu>();
            }
            d->provider->path = d->textPath;
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
    std::size_t skip = page * kFullTextPageSize;
    std::size_t wanted = kFullTextPageSize + 1;
    for (const std::unique_ptr<Direction>& owned : m_impl->directions) {
        Direction& d = *owned;
        m_impl->Open(d);
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
                result.hits.push_back(m_impl->Hit(d, std::move(entry), query));
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
    return result;
}

std::vector<FullTextStatus> FullTextSearch::Statuses() {
    std::lock_guard lock(m_impl->mutex);
    std::vector<FullTextStatus> statuses;
    for (const std::unique_ptr<Direction>& d : m_impl->directions) {
        m_impl->Open(*d);
        statuses.push_back(StatusOf(*d));
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
            d->opened = false;
        }
    }
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

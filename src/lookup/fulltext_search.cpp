// SPDX-License-Identifier: GPL-2.0-or-later
#include "lookup/fulltext_search.h"

#include "lookup/lookup_core.h"

struct FullTextSearch::Impl {
    explicit Impl(const forms::RussianAnalyser& a) : analyser(a) {}
    const forms::RussianAnalyser& analyser;
    std::vector<DictionarySource> sources;
    std::mutex mutex;
};

FullTextSearch::FullTextSearch(const forms::RussianAnalyser& analyser)
    : m_impl(std::make_unique<Impl>(analyser)) {}
FullTextSearch::~FullTextSearch() = default;

void FullTextSearch::Reset(std::vector<DictionarySource> sources) {
    std::lock_guard lock(m_impl->mutex);
    m_impl->sources = std::move(sources);
}

FullTextPage FullTextSearch::Search(std::u16string_view, std::size_t, const std::atomic<bool>*) {
    FullTextPage page;
    page.error = "not yet";
    return page;
}

std::vector<FullTextStatus> FullTextSearch::Statuses() {
    return {};
}

void FullTextSearch::Rebuild(std::size_t, bool) {}

std::vector<TextRange> FullTextSearch::Matches(std::u16string_view, std::u16string_view) const {
    return {};
}

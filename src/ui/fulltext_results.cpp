// SPDX-License-Identifier: GPL-2.0-or-later
// The search window's full-text search: Ctrl+Shift+F, or the list's last line
// offered for a query that no headword answers, lists the articles the box's
// text occurs in, a page at a time; Enter opens one in the reader with the
// matches marked. The search runs on a worker thread and is dropped as soon as
// the box's text changes, so typing never waits for it. An index that is
// missing, stale or damaged is named in the list, and the window offers to
// build it anew, also off the window's thread.
#include "ui/fulltext_results.h"

#include "errors/exc_msg.h"
#include "framework/message_box.h"
#include "platform/code_page.h"
#include "ui/kelimbo_dlg.h"
#include "ui/legilo_dlg.h"
#include "ui/program_objects.h"
#include "ui/resource_ids.h"

#include <algorithm>
#include <utility>

std::u16string FullTextOfferLine(std::u16string_view query) {
    return u"Искать «" + std::u16string(query) + u"» в статьях";
}

void FullTextResults::Clear() {
    pages = 0;
    more = false;
    loading = false;
    message.clear();
    hits.clear();
    problems.clear();
}

std::vector<FullTextLine> FullTextResults::Lines(bool withNames) const {
    using Kind = FullTextLine::Kind;
    std::vector<FullTextLine> lines;
    for (const FullTextStatus& problem : problems) {
        lines.push_back({Kind::Problem, 0, platform::FromUtf8(problem.message)});
    }
    for (std::size_t k = 0; k < hits.size(); ++k) {
        const FullTextHit& hit = hits[k];
        std::u16string text = hit.headword;
        if (withNames) {
            text += u" [" + platform::FromUtf8(hit.dictionaryName) + u"]";
        }
        text += u" — ";
        // The snippet's matches, where the line shows them.
        std::vector<fw::Selection> bold;
        for (const TextRange& mark : hit.marks) {
            bold.push_back({static_cast<int>(text.size() + mark.start),
                            static_cast<int>(text.size() + mark.end)});
        }
        text += hit.snippet;
        lines.push_back({Kind::Hit, k, std::move(text), std::move(bold)});
    }
    if (rebuilding) {
        lines.push_back({Kind::Note, 0, u"Полнотекстовый индекс строится…"});
    } else if (loading) {
        lines.push_back({Kind::Note, 0, u"Поиск «" + query + u"» в статьях…"});
    } else if (!message.empty()) {
        lines.push_back({Kind::Note, 0, message});
    } else if (hits.empty()) {
        lines.push_back({Kind::Note, 0, u"В статьях «" + query + u"» не найдено"});
    } else if (more) {
        lines.push_back({Kind::More, 0, u"Ещё результаты…"});
    }
    return lines;
}

namespace {

std::vector<fw::Selection> ToSelections(const std::vector<TextRange>& ranges) {
    std::vector<fw::Selection> marks;
    for (const TextRange& range : ranges) {
        marks.push_back({static_cast<int>(range.start), static_cast<int>(range.end)});
    }
    return marks;
}

bool SameIndex(const FullTextStatus& a, const FullTextStatus& b) {
    return a.dictionary == b.dictionary && a.esperanto == b.esperanto;
}

} // namespace

FullTextResults& CKelimboDlg::FullText() {
    // Made on the first full-text search: until then no thread is started.
    if (!m_fullText) {
        m_fullText = std::make_unique<FullTextResults>();
    }
    return *m_fullText;
}

bool CKelimboDlg::FullTextBusy() const {
    return m_fullText && (m_fullText->search.Busy() || m_fullText->rebuild.Busy());
}

void CKelimboDlg::OnFullText() {
    const std::u16string query = ReadBox();
    if (query.empty()) {
        GetEdit(IDC_SEARCH).SetFocus();
        return;
    }
    FullTextResults& results = FullText();
    results.Clear();
    results.shown = true;
    results.query = query;
    SearchFullText();
}

void CKelimboDlg::SearchFullText() {
    FullTextResults& results = FullText();
    results.loading = true;
    ShowFullText(results.hits.size());
    FullTextSearch& search = m_objects.lookup.FullText();
    const std::size_t page = results.pages;
    results.search.Start([this, &search, query = results.query,
                          page](const std::atomic<bool>& stop) -> fw::BackgroundWork::Answer {
        FullTextPage found;
        try {
            found = search.Search(query, page, &stop);
        } catch (const cExcMsg& e) {
            found.error = platform::ToUtf8(e.GetMsg());
        }
        return [this, found = std::move(found)]() mutable { TakeFullTextPage(std::move(found)); };
    });
}

void CKelimboDlg::TakeFullTextPage(FullTextPage page) {
    FullTextResults& results = FullText();
    if (page.cancelled || !results.shown) {
        return;
    }
    const std::size_t firstNew = results.hits.size();
    results.loading = false;
    ++results.pages;
    results.more = page.more;
    results.message = platform::FromUtf8(page.error);
    std::move(page.hits.begin(), page.hits.end(), std::back_inserter(results.hits));
    std::vector<FullTextStatus> unasked;
    for (FullTextStatus& problem : page.problems) {
        const std::pair key(problem.dictionary, problem.esperanto);
        if (std::ranges::find(results.asked, key) == results.asked.end()) {
            unasked.push_back(problem);
        }
        if (std::ranges::none_of(results.problems, [&](const FullTextStatus& known) {
                return SameIndex(known, problem);
            })) {
            results.problems.push_back(std::move(problem));
        }
    }
    ShowFullText(firstNew);
    if (!unasked.empty()) {
        OfferRebuild(unasked);
    }
}

void CKelimboDlg::ShowFullText(std::size_t selectHit) {
    const FullTextResults& results = *m_fullText;
    const bool listFocused = m_list.HasFocus();
    m_list.ResetContent();
    m_fullTextLines = results.Lines(m_objects.lookup.Names().size() > 1);
    int select = fw::LB_ERR;
    for (const FullTextLine& line : m_fullTextLines) {
        if (line.kind == FullTextLine::Kind::Hit) {
            const int index = m_list.AddStringWithBold(line.text, line.bold);
            if (line.hit == selectHit) {
                select = index;
            }
        } else {
            // The lines that are no result read apart, as the offered lines do.
            m_list.AddMarkedString(line.text, line.text);
        }
    }
    if (listFocused) {
        // Chosen from the list (the offer, the next page): the first new
        // result, or the line that says what goes on, waits for Enter.
        m_list.SetCurSel(select != fw::LB_ERR ? select : m_list.GetCount() - 1);
    }
}

void CKelimboDlg::LeaveFullText() {
    if (m_fullText && m_fullText->shown) {
        m_fullText->search.Cancel();
        m_fullText->shown = false;
        m_fullText->Clear();
        m_fullTextLines.clear();
    }
}

bool CKelimboDlg::OffersFullText() const {
    // Only where the list would stay empty: no headword and no base form answers.
    return !m_listed.query.empty() && m_listed.LineCount() == 0 &&
           std::ranges::any_of(m_listed.query, [](char c) { return c != ' '; });
}

void CKelimboDlg::OfferFullText() {
    if (OffersFullText()) {
        m_list.AddMarkedString(FullTextOfferLine(ReadBox()),
                               u"поиск текста в статьях словарей (Ctrl+Shift+F)");
    }
}

bool CKelimboDlg::ChooseFullTextLine(int line) {
    if (line == fw::LB_ERR) {
        return false;
    }
    const auto k = static_cast<std::size_t>(line);
    if (!m_fullText || !m_fullText->shown) {
        // The offer after the headwords' lines.
        if (k != m_listed.LineCount() || !OffersFullText()) {
            return false;
        }
        OnFullText();
        return true;
    }
    if (k >= m_fullTextLines.size()) {
        return true;
    }
    const FullTextLine& chosen = m_fullTextLines[k];
    switch (chosen.kind) {
    case FullTextLine::Kind::Hit:
        OpenFullTextHit(chosen.hit);
        break;
    case FullTextLine::Kind::More:
        if (!m_fullText->loading) {
            SearchFullText();
        }
        break;
    case FullTextLine::Kind::Problem:
        if (!m_fullText->rebuilding) {
            OfferRebuild(m_fullText->problems);
        }
        break;
    case FullTextLine::Kind::Note:
        break;
    }
    return true;
}

void CKelimboDlg::OpenFullTextHit(std::size_t k) {
    if (m_pLegilo == nullptr) {
        return;
    }
    // Stopped, so that the search object is free for the matches at once.
    m_fullText->search.Cancel();
    m_fullText->loading = false;
    const FullTextHit hit = m_fullText->hits[k];
    LookupCore& lookup = m_objects.lookup;
    // The first dictionary's articles are kept as its references, an added
    // one's under its name: as a headword line's, so the history keeps them alike.
    std::vector<ArticleRef> refs;
    std::vector<NamedRefs> added;
    if (hit.dictionary == 0) {
        refs = hit.refs;
    } else {
        added.push_back({hit.dictionaryName, hit.refs});
    }
    std::u16string text;
    std::vector<TextRange> matches;
    try {
        text = lookup.ArticleOfRefs(hit.esperanto, refs, added);
        matches = lookup.FullText().Matches(m_fullText->query, text);
    } catch (const cExcMsg& e) {
        fw::MessageBox(this, e.GetMsg(), u"Ошибка", fw::MessageBoxIcon::Error);
        return;
    }
    m_pLegilo->m_refs = std::move(refs);
    m_pLegilo->m_added = std::move(added);
    m_pLegilo->m_pProv = &lookup.Provider(hit.esperanto);
    m_pLegilo->m_headword = hit.headword;
    m_pLegilo->m_text = std::move(text);
    m_pLegilo->m_marks = ToSelections(matches);
    ShowFullText(k);
    RunReader(true);
}

void CKelimboDlg::MarkFullTextMatches(const HistoryEntry& entry) {
    if (m_pLegilo == nullptr || (entry.refs.empty() && entry.added.empty())) {
        return;
    }
    // A step that no line of its query's list opens came from full-text
    // results: its article shows the query's matches again.
    LookupCore& lookup = m_objects.lookup;
    if (!m_listed.query.empty() && m_listed.esperanto == entry.isEsperanto) {
        for (std::size_t line = 0; line < m_listed.LineCount(); ++line) {
            if (lookup.Refs(m_listed, line) == entry.refs &&
                lookup.AddedRefs(m_listed, line) == m_pLegilo->m_added) {
                return;
            }
        }
    }
    try {
        std::u16string text = m_pLegilo->m_text
                                  ? *m_pLegilo->m_text
                                  : lookup.ArticleOfRefs(entry.isEsperanto, entry.refs, {});
        const std::vector<TextRange> matches = lookup.FullText().Matches(entry.query, text);
        if (!matches.empty()) {
            m_pLegilo->m_text = std::move(text);
            m_pLegilo->m_marks = ToSelections(matches);
        }
    } catch (const cExcMsg&) {
        // The reader shows the article unmarked, or says itself why it cannot.
    }
}

void CKelimboDlg::OfferRebuild(const std::vector<FullTextStatus>& problems) {
    FullTextResults& results = FullText();
    std::u16string text;
    for (const FullTextStatus& problem : problems) {
        results.asked.emplace_back(problem.dictionary, problem.esperanto);
        text += platform::FromUtf8(problem.message) + u"\n";
    }
    text += u"\nПостроить полнотекстовый индекс заново? Обычный поиск слов работает и без него.";
    if (results.rebuilding || !fw::AskYesNo(this, text, u"Поиск в статьях")) {
        return;
    }
    std::vector<std::pair<std::size_t, bool>> targets;
    for (const FullTextStatus& problem : problems) {
        targets.emplace_back(problem.dictionary, problem.esperanto);
    }
    results.rebuilding = true;
    SetBusyCursor(true);
    if (results.shown) {
        ShowFullText(results.hits.size());
    }
    FullTextSearch& search = m_objects.lookup.FullText();
    results.rebuild.Start(
        [this, &search, targets](const std::atomic<bool>&) -> fw::BackgroundWork::Answer {
            std::u16string error;
            try {
                for (const auto& [dictionary, esperanto] : targets) {
                    search.Rebuild(dictionary, esperanto);
                }
            } catch (const cExcMsg& e) {
                error = e.GetMsg();
            }
            return [this, error] { RebuildDone(error); };
        });
}

void CKelimboDlg::RebuildDone(const std::u16string& error) {
    FullTextResults& results = FullText();
    results.rebuilding = false;
    SetBusyCursor(false);
    if (!error.empty()) {
        fw::MessageBox(this, error, u"Ошибка", fw::MessageBoxIcon::Error);
    }
    if (results.shown) {
        // The same query again, on the new index.
        results.Clear();
        SearchFullText();
    }
}

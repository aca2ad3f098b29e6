// SPDX-License-Identifier: GPL-2.0-or-later
// The reader loop of the search window: the reader opened on a chosen headword
// or on a history entry, run again for every step back, forward or translation
// made inside it, with the history kept in step with what the windows show.
#include "framework/input_panel.h"
#include "ui/kelimbo_dlg.h"
#include "ui/legilo_dlg.h"
#include "ui/program_objects.h"
#include "ui/resource_ids.h"
#include "ui/soft_key_menus.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

std::vector<AddedRefs> ForHistory(const std::vector<NamedRefs>& added) {
    std::vector<AddedRefs> kept;
    for (const NamedRefs& part : added) {
        kept.push_back({part.name, 0, part.refs});
    }
    return kept;
}

std::vector<NamedRefs> FromHistory(const std::vector<AddedRefs>& added) {
    std::vector<NamedRefs> named;
    for (const AddedRefs& part : added) {
        named.push_back({part.name, part.refs});
    }
    return named;
}

} // namespace

void KeepHistoryInStep(ProgramObjects& objects) {
    objects.theHistory.addedTexts.clear();
    for (DictionaryTexts& texts : objects.lookup.AddedTexts()) {
        objects.theHistory.addedTexts.push_back(
            {std::move(texts.name), std::move(texts.eoTextPath), std::move(texts.ruTextPath)});
    }
}

void CKelimboDlg::OnListSelChange() {
    const int k = m_list.GetCurSel();
    if (ChooseFullTextLine(k)) {
        return;
    }
    if (k == fw::LB_ERR || static_cast<std::size_t>(k) >= m_listed.LineCount() ||
        m_pLegilo == nullptr) {
        return;
    }
    const auto line = static_cast<std::size_t>(k);
    LookupCore& lookup = m_objects.lookup;
    std::vector<ArticleRef> refs = lookup.Refs(m_listed, line);
    std::vector<NamedRefs> added = lookup.AddedRefs(m_listed, line);
    std::u16string headword = lookup.Headword(m_listed, line);
    std::optional<std::u16string> text;
    if (m_listed.merged) {
        text = lookup.Article(m_listed, line);
    }
    m_pLegilo->m_refs = std::move(refs);
    m_pLegilo->m_added = std::move(added);
    m_pLegilo->m_pProv = &lookup.Provider(m_listed.esperanto);
    m_pLegilo->m_esperanto = m_listed.esperanto;
    m_pLegilo->m_headword = std::move(headword);
    m_pLegilo->m_text = std::move(text);
    RunReader(true);
}

void CKelimboDlg::OnBack() {
    // The key is offered only while the history can go back; a stale press does nothing.
    if (!m_objects.theHistory.CanGoBack()) {
        return;
    }
    const HistoryEntry entry = m_objects.theHistory.Back();
    ShowEntry(entry);
    RunReader(false);
}

void CKelimboDlg::OnForward() {
    if (!m_objects.theHistory.CanGoForward()) {
        return;
    }
    const HistoryEntry entry = m_objects.theHistory.Forward();
    ShowEntry(entry);
    RunReader(false);
}

void CKelimboDlg::ShowEntry(const HistoryEntry& entry) {
    // Converts the text and refills the list before the call returns; a
    // non-empty query gives the list its direction anew.
    const fw::Edit box = GetEdit(IDC_SEARCH);
    box.SetWindowText(entry.query);
    box.SetSel(0, static_cast<int>(entry.query.size()));
    box.ScrollCaret();
    if (m_pLegilo != nullptr) {
        m_pLegilo->m_refs = entry.refs;
        m_pLegilo->m_added = FromHistory(entry.added);
        m_pLegilo->m_pProv = &m_objects.lookup.Provider(entry.isEsperanto);
        m_pLegilo->m_esperanto = entry.isEsperanto;
        m_pLegilo->m_headword = HeadwordOf(entry);
        // The first dictionary's articles alone are shown as they always
        // were; with added dictionaries', each under its dictionary's name.
        m_pLegilo->m_text = std::nullopt;
        if (!entry.added.empty()) {
            m_pLegilo->m_text =
                m_objects.lookup.ArticleOfRefs(entry.isEsperanto, entry.refs, m_pLegilo->m_added);
        }
        MarkFullTextMatches(entry);
    }
}

std::u16string CKelimboDlg::HeadwordOf(const HistoryEntry& entry) {
    // The list has just been filled for the entry's query, which is the one
    // its article was chosen from.
    if (!m_listed.query.empty() && m_listed.esperanto == entry.isEsperanto) {
        LookupCore& lookup = m_objects.lookup;
        for (std::size_t line = 0; line < m_listed.LineCount(); ++line) {
            if (lookup.Refs(m_listed, line) == entry.refs &&
                lookup.AddedRefs(m_listed, line) == FromHistory(entry.added)) {
                return lookup.Headword(m_listed, line);
            }
        }
    }
    // No line opens it: a full-text result's article, which its index names.
    std::u16string headword;
    if (!entry.refs.empty() && entry.added.empty()) {
        headword = m_objects.lookup.FullText().HeadwordOf(entry.isEsperanto, entry.refs);
    } else if (entry.refs.empty() && entry.added.size() == 1) {
        const std::vector<NamedRefs> added = FromHistory(entry.added);
        headword =
            m_objects.lookup.FullText().HeadwordOf(entry.isEsperanto, added[0].refs, added[0].name);
    }
    return headword.empty() ? entry.query : headword;
}

void CKelimboDlg::RecordState() {
    const std::u16string query = ReadBox();
    const std::vector<ArticleRef> noRefs;
    // The direction of the articles the reader shows, which for a full-text
    // result need not be the box's text's.
    const bool esperanto = m_pLegilo != nullptr && m_pLegilo->m_pProv != nullptr
                               ? m_pLegilo->m_pProv == &m_objects.lookup.Provider(true)
                               : m_listed.esperanto;
    m_objects.theHistory.Push(query, m_pLegilo != nullptr ? m_pLegilo->m_refs : noRefs, esperanto,
                              m_pLegilo != nullptr ? ForHistory(m_pLegilo->m_added)
                                                   : std::vector<AddedRefs>{});
}

void CKelimboDlg::RunReader(bool fresh) {
    if (m_pLegilo == nullptr) {
        return;
    }
    cHistory& theHistory = m_objects.theHistory;
    fw::SipPreference(*this, fw::SipState::ForceDown);
    theHistory.searchView = false;

    // While the reader shows a history entry, the cursor names that entry.
    bool translate = false;
    bool quit = false;
    for (;;) {
        const std::intptr_t code = m_pLegilo->DoModal();
        HistoryEntry entry;
        if (code == RESULT_TRANSLATE) {
            translate = true;
            break;
        }
        if (code == ID_BACK) {
            if (theHistory.cursor < 1) {
                break;
            }
            if (fresh) {
                // The article from the list enters the history, then the step
                // back over it lands on the entry before.
                RecordState();
                if (theHistory.cursor < 2) {
                    // The article equalled the first entry: nothing lies before it.
                    break;
                }
                theHistory.Back();
            }
            entry = theHistory.Back();
        } else if (code == ID_FORWARD) {
            if (!theHistory.CanGoForward()) {
                break;
            }
            entry = theHistory.Forward();
        } else {
            quit = code == ID_QUIT;
            break; // closed
        }
        ShowEntry(entry);
        fresh = false;
    }

    // Back to the search window's reading of the cursor: one step past the
    // shown entry when entries lie ahead of it, else a record of what the
    // windows show.
    if (fresh || !theHistory.CanGoForward()) {
        RecordState();
    } else {
        theHistory.Forward();
    }
    if (translate) {
        // Converts the word and fills the list for it before the call returns.
        GetDlgItem(IDC_SEARCH).SetWindowText(m_objects.wordToTranslate);
    }

    theHistory.searchView = true;
    UpdateSoftKeys(*this, theHistory, m_objects.words.Size() > 0);
    const fw::Edit box = GetEdit(IDC_SEARCH);
    box.SetSel(0, -1);
    box.ScrollCaret();
    if (translate && m_listed.Offers()) {
        // An inflected word: its base form's line, first, waits selected
        // for Enter; nothing opens until it is chosen.
        m_list.SetCurSel(0);
        m_list.SetFocus();
    } else {
        box.SetFocus();
        fw::SipPreference(*this, fw::SipState::Up);
    }

    if (quit) {
        OnOK(); // Ctrl+Q in the reader: the whole program ends
    } else if (m_pending) {
        // A word sent while the reader was open.
        ShowWord(*std::exchange(m_pending, std::nullopt));
    }
}

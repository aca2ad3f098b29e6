// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The main search window on dialog template 102: the search box 1000 and the
// headword list 1003. Typing turns x-system pairs into accented letters in
// place, the query's language picks the dictionary, and the list shows at most
// MAX_LIST_LINES headwords from the first that begins with the query. When no
// headword begins with a one-word query, the list offers instead the headwords
// of the word's base forms (hundojn → hundo, собаку → собака), marked apart.
// Choosing a line opens the reader on its articles (reader_loop.cpp); "назад"
// and "вперёд" walk the history from either window.
//
// The keyboard: Down or Page Down in the box goes to the list's first line,
// Up on that line back to the box; the list's keys move its current line and
// Enter chooses it. Escape empties the box and never ends the window;
// Ctrl+L and Ctrl+F return to the box with its text selected; Ctrl+D opens
// the dictionaries dialog (dictionaries_dlg.h); Ctrl+Shift+F, or the list's
// last line offered when no headword answers, lists the articles the box's
// text occurs in (fulltext_results.cpp) until the text changes; Ctrl+Shift+S
// shows the word list in place of the headwords (word_list_view.h); Ctrl+Q and
// Ctrl+W end it as its close button does. Ctrl++, Ctrl+-, Ctrl+0 and Ctrl with
// the wheel zoom the list and the article text.

#include "framework/controls.h"
#include "framework/dialog.h"
#include "framework/message_map.h"
#include "history/history_entry.h"
#include "lookup/lookup_core.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CLegiloDlg;
struct FullTextLine;
struct FullTextPage;
struct FullTextResults;
struct FullTextStatus;
class WordListView;
struct ProgramObjects;

class CKelimboDlg : public fw::Dialog {
public:
    // The window works on the program's objects of `objects`, which outlives it.
    explicit CKelimboDlg(ProgramObjects& objects, fw::Dialog* pParent = nullptr);
    ~CKelimboDlg() override;

    fw::ListBox m_list;              // the headword list, bound to control 1003
    CLegiloDlg* m_pLegilo = nullptr; // the one reader window object; not owned
    fw::IconHandle m_hIcon;          // icon 128
    bool m_updating = false;         // true while OnSearchChange rewrites the box

    // The lookup core's answer the list shows: line k stands for its line k.
    // A query that empties the box keeps the last one (and so its direction).
    const ListResult& Listed() const { return m_listed; }

    // A word given at start-up: OnInitDialog puts it into the box after the
    // history's text, as ShowWord does.
    std::optional<std::u16string> m_startWord;

    // Re-lays the controls out for the screen's orientation.
    void OnSize();
    // Converts the box's text in place, keeping the selection, then FillList.
    void OnSearchChange();
    // The box's text, at most kMaxBoxUnits of it.
    std::u16string ReadBox();
    // The box's text in index form.
    std::string GetQuery();
    // Looks the query up and fills the list: with the range's headwords, or,
    // when the range is empty, with the offered lines of the query's base
    // forms, marked.
    void FillList();

    // A word sent from outside (a later start of the program): an open reader
    // closes first, as with Escape; then the word goes into the box as if
    // typed (converted, the list filled), all of it selected, and the window
    // comes to the front. An empty word is BringToFront.
    void ShowWord(std::u16string_view word);
    // Brings the window in front, the reader's while it is open, to the front.
    void BringToFront();
    // Ends the program as Ctrl+Q does in the window in front: the reader's
    // while it is open, else this one.
    void Quit();
    // Ctrl+L and Ctrl+F: the box, its text selected.
    void OnFind();
    // Ctrl+D: the dictionaries dialog; when it has changed the order or the
    // switches, the dictionaries are opened anew and the list refilled, so
    // that the list and the reader answer from them at once.
    void OnDictionaries();
    // Ctrl++, Ctrl+- and Ctrl+0 (text_zoom.h).
    void OnZoomIn();
    void OnZoomOut();
    void OnZoomReset();

    // The word list, shown in this window's list while Active().
    WordListView& WordList() { return *m_words; }

    // The reader loop (reader_loop.cpp).
    // The list's choice: the reader on the chosen headword's articles.
    void OnListSelChange();
    // "назад" and "вперёд" of the search window: the reader on the history's entry.
    void OnBack();
    void OnForward();
    // Pushes what the windows show into the history.
    void RecordState();
    // Puts an entry into the search box and the reader.
    void ShowEntry(const HistoryEntry& entry);
    // Runs the reader until it is left for good; `fresh` when its article came
    // from the list and is not in the history yet.
    void RunReader(bool fresh);

    // Full-text search (fulltext_results.cpp).
    // Ctrl+Shift+F: the list shows the first page of the articles the box's
    // text occurs in, once the search, on a thread of its own, has answered.
    void OnFullText();
    // Whether a full-text search or an index's rebuilding is still under way.
    bool FullTextBusy() const;

protected:
    bool OnInitDialog() override;
    void DoDataExchange() override;
    bool OnMessage(fw::Msg msg, int id) override;
    // Escape: empties a non-empty box, and the list with it.
    void OnCancel() override;
    // Down and Page Down in the box, Up on the list's first line.
    bool PreTranslateKey(int id, const fw::KeyDown& key) override;
    // Remembers the window's place and size.
    void OnDestroy() override;

private:
    static const fw::MessageMapEntry<CKelimboDlg> kMessageMap[];

    // The word in the box, converted, the list filled, all of it selected.
    void PutWordInBox(std::u16string_view word);
    // The headword the reader shows for a history entry: the list line with
    // the entry's articles, else the entry's query.
    std::u16string HeadwordOf(const HistoryEntry& entry);

    // Full-text search (fulltext_results.cpp).
    FullTextResults& FullText();
    // Asks for the next page of the results' query.
    void SearchFullText();
    // A page has come back from the search's thread.
    void TakeFullTextPage(FullTextPage page);
    // Fills the list with the results' lines; `selectHit` is the result
    // selected when the list has the focus.
    void ShowFullText(std::size_t selectHit);
    // Back to headwords: the running search is dropped (FillList).
    void LeaveFullText();
    // The last line offering the search when no headword answers (FillList).
    bool OffersFullText() const;
    void OfferFullText();
    // A chosen line of full-text results, or the offer; false for a line of
    // headwords (OnListSelChange).
    bool ChooseFullTextLine(int line);
    void OpenFullTextHit(std::size_t hit);
    // A history step that came from full-text results gets its matches
    // marked again (ShowEntry).
    void MarkFullTextMatches(const HistoryEntry& entry);
    // Asks whether to build the indexes anew, and does so off the window's thread.
    void OfferRebuild(const std::vector<FullTextStatus>& problems);
    void RebuildDone(const std::u16string& error);

    ProgramObjects& m_objects;
    std::unique_ptr<FullTextResults> m_fullText; // made on the first full-text search
    std::vector<FullTextLine> m_fullTextLines;   // what each list line is while they show
    ListResult m_listed;                         // what the list shows, as the core gave it
    std::optional<std::u16string> m_pending;     // a sent word, shown once the reader has closed
    std::unique_ptr<WordListView> m_words;
};

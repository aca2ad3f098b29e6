#pragma once
// The main search window on dialog template 102: the search box 1000 and the
// headword list 1003. Typing turns x-system pairs into accented letters in
// place, the query's language picks the dictionary, and the list shows at most
// MAX_LIST_LINES headwords from the first that begins with the query.
// Choosing a line opens the reader on its articles (reader_loop.cpp); "назад"
// and "вперёд" walk the history from either window.

#include "articles/provider.h"
#include "framework/controls.h"
#include "framework/dialog.h"
#include "framework/message_map.h"
#include "history/history_entry.h"
#include "index/headword_index.h"

#include <cstdint>
#include <string>
#include <string_view>

class CLegiloDlg;
struct ProgramObjects;

class CKelimboDlg : public fw::Dialog {
public:
    // The window works on the program's objects of `objects`, which outlives it.
    explicit CKelimboDlg(ProgramObjects& objects, fw::Dialog* pParent = nullptr);
    ~CKelimboDlg() override;

    fw::ListBox m_list;              // the headword list, bound to control 1003
    CLegiloDlg* m_pLegilo = nullptr; // the one reader window object; not owned
    std::uint32_t m_first = 0;       // position in m_pIndex of the list's first line
    cIndex* m_pIndex = nullptr;      // the owner's eoIndex or ruIndex, by the last non-empty query
    cKelimboProv* m_pProv = nullptr; // the owner's eoProv or ruProv, chosen with m_pIndex
    fw::IconHandle m_hIcon;          // icon 128
    bool m_updating = false;         // true while OnSearchChange rewrites the box

    // Re-lays the controls out for the screen's orientation.
    void OnSize();
    // Converts the box's text in place, keeping the selection, then FillList.
    void OnSearchChange();
    // The box's text, at most kMaxBoxUnits of it.
    std::u16string ReadBox();
    // The box's text in index form.
    std::string GetQuery();
    // Looks the query up and fills the list.
    void FillList();

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

protected:
    bool OnInitDialog() override;
    void DoDataExchange() override;
    bool OnMessage(fw::Msg msg, int id) override;

private:
    static const fw::MessageMapEntry<CKelimboDlg> kMessageMap[];

    ProgramObjects& m_objects;
};

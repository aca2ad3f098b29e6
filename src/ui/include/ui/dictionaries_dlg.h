// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// "Словари" (Ctrl+D in the search window): the added dictionaries in the order
// their articles are shown, each line with a check box that is checked when
// the dictionary is switched on. The data folder's own dictionary always
// comes first and is not listed.
//
// The keyboard: Up and Down move the current line; Space switches its
// dictionary on or off (as a click on its box does); Ctrl+Up and Ctrl+Down
// (or Alt with them) move it up or down the order. Each change is written to the order file at
// once; Enter or Escape closes the dialog, and the caller then reopens the dictionaries
// (ReopenDictionaries) when Changed().

#include "articles/dictionary_set.h"
#include "framework/controls.h"
#include "framework/dialog.h"

#include <string>
#include <vector>

struct ProgramObjects;

class CDictionariesDlg : public fw::Dialog {
public:
    CDictionariesDlg(ProgramObjects& objects, fw::Dialog* pParent);

    fw::ListBox m_list; // the dictionaries, bound to control 1010

    // The entries as the order file now holds them, in order.
    const std::vector<OrderEntry>& Entries() const { return m_entries; }
    // Whether the order file was written during the run.
    bool Changed() const { return m_changed; }
    // The messages of the last failed write of the order file; empty when none.
    const std::string& Problem() const { return m_problem; }

    // Space on a line, and Ctrl+Up / Ctrl+Down: what the keys do, for the
    // current line; each writes the order file.
    void Toggle();
    void Move(int step);

protected:
    bool OnInitDialog() override;
    void DoDataExchange() override;
    bool OnMessage(fw::Msg msg, int id) override;
    bool PreTranslateKey(int id, const fw::KeyDown& key) override;

private:
    // Shows the entries, `current` the current line.
    void Fill(int current);
    // The current line's box was switched: its entry follows, and the order
    // file is written.
    void OnCheckChange();
    // Writes the entries to the order file; a failure keeps the old file and
    // is shown.
    void Save();

    ProgramObjects& m_objects;
    std::vector<OrderEntry> m_entries;
    bool m_changed = false;
    std::string m_problem;
};

// Opens the lookup core anew on the data folder's dictionaries as the order
// file now gives them, and keeps the history in step with them.
void ReopenDictionaries(ProgramObjects& objects);

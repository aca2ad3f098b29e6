// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The learner's word list shown in the search window (Ctrl+Shift+S, and back
// with Ctrl+Shift+S or Escape): the list holds the kept words, each with the
// first line of its translation, and the box filters them as it filters
// headwords. A word no dictionary has any more stays, marked
// «(нет в словаре)».
//
// The keyboard: Enter opens the chosen word's article in the reader (and
// the list comes back when the reader closes); Delete removes the word, and
// Ctrl+Z brings back the last removed ones in turn. The soft keys show the
// order, which Ctrl+R turns (by date, newest first; alphabetically; by the
// number of look-ups), and "Экспорт…" (Ctrl+E), which writes the words shown
// to a file for Anki (tab-separated) or, for a name ending in ".csv", as CSV.

#include "framework/keys.h"
#include "framework/message_map.h"
#include "ui/window_settings.h"
#include "wordlist/word.h"

#include <QTimer>

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

class CKelimboDlg;
struct ProgramObjects;

class WordListView {
public:
    WordListView(ProgramObjects& objects, CKelimboDlg& window);

    // Whether the search window shows the word list now.
    bool Active() const { return m_active; }

    // The window's notifications and keys, before its own handling: true when
    // the word list has taken them. Ctrl+Shift+S is taken always; the rest
    // only while the list is shown.
    bool OnMessage(fw::Msg msg, int id);
    bool PreTranslateKey(int id, const fw::KeyDown& key);

    // Shows the list, the box emptied for filtering; Leave puts back the
    // search the window showed before.
    void Enter();
    void Leave();
    // Fills the list from the box's text (already converted) and the order:
    // every word at once, the translations of the first kFirstLines lines
    // (more than a window shows) before it returns, those of the others from
    // the event loop, a few hundred at a time, so that a long list opens
    // without waiting for all of them.
    void Fill();
    static constexpr std::size_t kFirstLines = 100;
    // The translations not yet shown, all of them now.
    void FinishTranslations();
    // Fills it again with the translations looked up anew, for dictionaries
    // that have changed.
    void Refresh();

    // What the keys do, on the list's current line.
    void Open();
    void Remove();
    void Undo();
    void NextOrder();
    void Export();

    // The words the list shows, line by line.
    const std::vector<wordlist::Word>& Shown() const { return m_shown; }

private:
    // The first line of a word's translation; none when no dictionary has
    // the word.
    std::optional<std::u16string> Translation(const wordlist::Word& word);
    // Shows the translations of the lines up to `end`.
    void TranslateUpTo(std::size_t end);
    void ShowCaption();
    void ShowKeys();
    // Saves the list; a failure is shown over the window.
    void Save();

    ProgramObjects& m_objects;
    CKelimboDlg& m_window;
    bool m_active = false;
    std::u16string m_searchText;           // the box's text before the list was shown
    std::vector<wordlist::Word> m_shown;   // the lines' words
    std::size_t m_translated = 0;          // the lines before it show their translations
    QTimer m_translating;                  // shows the next lines' translations
    std::vector<wordlist::Word> m_removed; // removed words, the last on top
    // First lines already looked up, by direction and text: a dictionary is
    // not read again each time the list is filled.
    std::unordered_map<std::string, std::optional<std::u16string>> m_firstLines;
};

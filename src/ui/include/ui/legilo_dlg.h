// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The article reader window on dialog template 104: the article box 1002 and
// the button 1007. The main window writes m_refs, m_pProv and m_headword
// before each run; the reader shows their articles under the headword's name
// and ends with a code that says what the user wants next.
//
// The star button 1008 (Ctrl+S) keeps the headword in the word list, or takes
// it out: ★ for a kept word, ☆ for another. Each run on a kept word counts one
// look-up of it.
//
// Ctrl+T and Enter press the button; Escape, Ctrl+W, Ctrl+L and Ctrl+F close
// the reader (the last two for the search box); Ctrl+Q closes it with ID_QUIT,
// which ends the program.

#include "articles/provider.h"
#include "framework/dialog.h"
#include "framework/message_map.h"
#include "index/article_ref.h"
#include "lookup/lookup_core.h"

#include <optional>
#include <string>
#include <vector>

// End codes of a reader run besides the ordinary OK and cancel: translate the
// selected word (in the owner's wordToTranslate), and the soft keys' own commands ID_BACK
// and ID_FORWARD (ui/resource_ids.h).
inline constexpr int RESULT_TRANSLATE = 12;

struct ProgramObjects;

class CLegiloDlg : public fw::Dialog {
public:
    // The window works on the program's objects of `objects`, which outlives it.
    CLegiloDlg(ProgramObjects& objects, fw::Dialog* pParent);
    ~CLegiloDlg() override;

    std::vector<ArticleRef> m_refs;  // the articles to show, in order
    std::vector<NamedRefs> m_added;  // the added dictionaries' articles shown with them
    cKelimboProv* m_pProv = nullptr; // the provider of the references' direction
    std::u16string m_headword;       // what the articles are of, for the caption
    bool m_esperanto = false;        // the direction of the headword
    // The text to show instead of the provider's articles of m_refs: a line
    // of several dictionaries, which the lookup core has grouped under their names.
    std::optional<std::u16string> m_text;
    // Parts of the shown text to mark (a full-text search's matches), the
    // first scrolled into view; used by the next run only.
    std::vector<fw::Selection> m_marks;

    // Hands the selected word, trimmed to its letters, to the owner's wordToTranslate and
    // ends with RESULT_TRANSLATE.
    void OnTranslateSelection();
    // The star: the headword into the word list, or out of it; saved at once.
    void OnKeep();
    // End with ID_BACK and ID_FORWARD; the main window steps the history.
    void OnBack();
    void OnForward();
    // End with ID_QUIT, and as closed for Ctrl+L and Ctrl+F.
    void OnQuit();
    void OnFind();
    void OnZoomIn();
    void OnZoomOut();
    void OnZoomReset();

protected:
    bool OnInitDialog() override;
    bool OnMessage(fw::Msg msg, int id) override;

private:
    static const fw::MessageMapEntry<CLegiloDlg> kMessageMap[];

    // The star as the word list has the headword; none for no headword.
    void ShowKept();

    ProgramObjects& m_objects;
};

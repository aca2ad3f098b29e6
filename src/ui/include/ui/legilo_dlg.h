#pragma once
// The article reader window on dialog template 104: the article box 1002 and
// the button 1007. The main window writes m_refs and m_pProv before each run;
// the reader shows their articles and ends with a code that says what the user
// wants next.

#include "articles/provider.h"
#include "framework/dialog.h"
#include "framework/message_map.h"
#include "index/article_ref.h"

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
    cKelimboProv* m_pProv = nullptr; // the provider of the references' direction

    // Hands the selected word, trimmed to its letters, to the owner's wordToTranslate and
    // ends with RESULT_TRANSLATE.
    void OnTranslateSelection();
    // End with ID_BACK and ID_FORWARD; the main window steps the history.
    void OnBack();
    void OnForward();

protected:
    bool OnInitDialog() override;
    bool OnMessage(fw::Msg msg, int id) override;

private:
    static const fw::MessageMapEntry<CLegiloDlg> kMessageMap[];

    ProgramObjects& m_objects;
};

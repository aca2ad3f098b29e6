// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/legilo_dlg.h"

#include "errors/exc_msg.h"
#include "framework/input_panel.h"
#include "framework/message_box.h"
#include "platform/code_page.h"
#include "ui/kelimbo_resources.h"
#include "ui/program_objects.h"
#include "ui/resource_ids.h"
#include "ui/selected_word.h"
#include "ui/soft_key_menus.h"
#include "ui/text_zoom.h"

#include <string>
#include <utility>
#include <vector>

const fw::MessageMapEntry<CLegiloDlg> CLegiloDlg::kMessageMap[] = {
    {fw::Msg::Command, IDC_TRANSLATE, &CLegiloDlg::OnTranslateSelection},
    {fw::Msg::Command, IDC_KEEP, &CLegiloDlg::OnKeep},
    {fw::Msg::Command, ID_BACK, &CLegiloDlg::OnBack},
    {fw::Msg::Command, ID_FORWARD, &CLegiloDlg::OnForward},
    {fw::Msg::Command, ID_QUIT, &CLegiloDlg::OnQuit},
    {fw::Msg::Command, ID_FIND, &CLegiloDlg::OnFind},
    {fw::Msg::Command, ID_ZOOM_IN, &CLegiloDlg::OnZoomIn},
    {fw::Msg::Command, ID_ZOOM_OUT, &CLegiloDlg::OnZoomOut},
    {fw::Msg::Command, ID_ZOOM_RESET, &CLegiloDlg::OnZoomReset},
};

CLegiloDlg::CLegiloDlg(ProgramObjects& objects, fw::Dialog* pParent)
    : fw::Dialog(KelimboResources(), IDD_LEGILO_DIALOG, pParent), m_objects(objects) {}

CLegiloDlg::~CLegiloDlg() = default;

bool CLegiloDlg::OnMessage(fw::Msg msg, int id) {
    return fw::DispatchMessage<CLegiloDlg>(*this, kMessageMap, msg, id) ||
           fw::Dialog::OnMessage(msg, id);
}

bool CLegiloDlg::OnInitDialog() {
    fw::Dialog::OnInitDialog();
    LoadAccelTable(IDR_ACCEL_READER);
    SetTextZoom(m_objects.settings.Zoom());
    if (!m_headword.empty()) {
        // "hundo — Kelimbo": the template's caption after the headword.
        SetWindowText(m_headword + u" — " + GetWindowText());
    }
    // The main window has set searchView to false: the keys follow the reader's
    // reading of the cursor.
    UpdateSoftKeys(*this, m_objects.theHistory);
    if (m_text) {
        GetEdit(IDC_ARTICLE).SetWindowText(*m_text);
    } else if (m_pProv != nullptr) {
        try {
            std::u16string text;
            m_pProv->GetArticles(text, m_refs);
            GetEdit(IDC_ARTICLE).SetWindowText(text);
        } catch (const cExcMsg& e) {
            // The article stays empty; the keys and the button go on working.
            fw::MessageBox(this, e.GetMsg(), u"Ошибка", fw::MessageBoxIcon::Error);
        }
    }
    if (const std::vector<fw::Selection> marks = std::exchange(m_marks, {}); !marks.empty()) {
        const fw::Edit box = GetEdit(IDC_ARTICLE);
        box.SetMarks(marks);
        box.SetSel(marks.front().start, marks.front().start);
        box.ScrollCaret();
    }
    if (!m_headword.empty()) {
        m_objects.words.CountLookup(platform::ToUtf8(m_headword), m_esperanto);
    }
    ShowKept();
    fw::SipPreference(*this, fw::SipState::Down);
    return false; // no focus placed here
}

void CLegiloDlg::OnTranslateSelection() {
    // The whole text: a selection anywhere in a long article translates.
    const fw::Edit box = GetEdit(IDC_ARTICLE);
    const fw::Selection selection = box.GetSel();
    m_objects.wordToTranslate =
        SelectedWord(box.GetWindowText(), static_cast<std::size_t>(selection.start),
                     static_cast<std::size_t>(selection.end));
    EndDialog(RESULT_TRANSLATE);
}

void CLegiloDlg::OnBack() {
    EndDialog(ID_BACK);
}

void CLegiloDlg::OnForward() {
    EndDialog(ID_FORWARD);
}

void CLegiloDlg::OnQuit() {
    EndDialog(ID_QUIT);
}

void CLegiloDlg::OnFind() {
    // Closed as with Escape; the search window then selects its box's text.
    EndDialog(fw::IDCANCEL);
}

void CLegiloDlg::OnZoomIn() {
    ZoomCommand(m_objects.settings, *this, ID_ZOOM_IN);
}

void CLegiloDlg::OnZoomOut() {
    ZoomCommand(m_objects.settings, *this, ID_ZOOM_OUT);
}

void CLegiloDlg::OnZoomReset() {
    ZoomCommand(m_objects.settings, *this, ID_ZOOM_RESET);
}

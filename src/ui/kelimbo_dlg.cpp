// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/kelimbo_dlg.h"

#include "framework/input_panel.h"
#include "text/esperanto_x.h"
#include "text/index_key.h"
#include "ui/dictionaries_dlg.h"
#include "ui/fulltext_results.h"
#include "ui/kelimbo_resources.h"
#include "ui/legilo_dlg.h"
#include "ui/program_objects.h"
#include "ui/resource_ids.h"
#include "ui/soft_key_menus.h"
#include "ui/template_layout.h"
#include "ui/text_zoom.h"
#include "ui/word_list_view.h"

#include <QScopedValueRollback>

#include <span>
#include <utility>

const fw::MessageMapEntry<CKelimboDlg> CKelimboDlg::kMessageMap[] = {
    {fw::Msg::Size, 0, &CKelimboDlg::OnSize},
    {fw::Msg::EditChange, IDC_SEARCH, &CKelimboDlg::OnSearchChange},
    {fw::Msg::ListSelChange, IDC_LIST, &CKelimboDlg::OnListSelChange},
    {fw::Msg::Command, ID_BACK, &CKelimboDlg::OnBack},
    {fw::Msg::Command, ID_FORWARD, &CKelimboDlg::OnForward},
    {fw::Msg::Command, ID_FIND, &CKelimboDlg::OnFind},
    {fw::Msg::Command, ID_DICTIONARIES, &CKelimboDlg::OnDictionaries},
    {fw::Msg::Command, ID_FULLTEXT, &CKelimboDlg::OnFullText},
    {fw::Msg::Command, ID_ZOOM_IN, &CKelimboDlg::OnZoomIn},
    {fw::Msg::Command, ID_ZOOM_OUT, &CKelimboDlg::OnZoomOut},
    {fw::Msg::Command, ID_ZOOM_RESET, &CKelimboDlg::OnZoomReset},
};

namespace {
// The search window's size on a first start, in logical pixels: upright, as
// the list reads best.
constexpr int kDefaultWidth = 420;
constexpr int kDefaultHeight = 600;
} // namespace

CKelimboDlg::CKelimboDlg(ProgramObjects& objects, fw::Dialog* pParent)
    : fw::Dialog(KelimboResources(), IDD_KELIMBO_DIALOG, pParent),
      m_hIcon(KelimboResources().FindIcon(IDI_KELIMBO)), m_objects(objects),
      m_words(std::make_unique<WordListView>(objects, *this)) {}

CKelimboDlg::~CKelimboDlg() = default;

void CKelimboDlg::DoDataExchange() {
    BindControl(IDC_LIST, m_list);
}

bool CKelimboDlg::OnMessage(fw::Msg msg, int id) {
    return m_words->OnMessage(msg, id) ||
           fw::DispatchMessage<CKelimboDlg>(*this, kMessageMap, msg, id) ||
           fw::Dialog::OnMessage(msg, id);
}

bool CKelimboDlg::OnInitDialog() {
    fw::Dialog::OnInitDialog();
    SetIcon(m_hIcon, true);
    SetIcon(m_hIcon, false);
    LoadAccelTable(IDR_ACCEL_SEARCH);
    // The reader opens over this window at its size.
    KeepRoomForTemplate(IDD_LEGILO_DIALOG);
    const WindowSettings& settings = m_objects.settings;
    if (!SetWindowPlacement(settings.Placement())) {
        SetWindowSizeCentered(kDefaultWidth, kDefaultHeight);
    }
    SetTextZoom(settings.Zoom());
    if (m_objects.theHistory.cursor > 0) {
        // Setting the text converts it and fills the list before the call returns.
        const std::u16string query = m_objects.theHistory.CurrentQuery();
        const fw::Edit box = GetEdit(IDC_SEARCH);
        box.SetWindowText(query);
        box.SetSel(0, static_cast<int>(query.size()));
        box.ScrollCaret();
    }
    if (m_startWord) {
        PutWordInBox(*std::exchange(m_startWord, std::nullopt));
    }
    UpdateSoftKeys(*this, m_objects.theHistory, m_objects.words.Size() > 0);
    fw::SipPreference(*this, fw::SipState::Up);
    SetFocus();
    GetDlgItem(IDC_SEARCH).SetFocus();
    return false; // the focus is placed
}

void CKelimboDlg::OnSize() {
    if (!FillsScreen()) {
        // A desktop window: the controls stretch with it, by template 102.
        FillWindow();
        return;
    }
    const fw::ScreenSize screen = GetScreenSize();
    const std::uint16_t layout = screen.cy > screen.cx ? IDD_KELIMBO_DIALOG : IDD_KELIMBO_WIDE;
    ApplyTemplateLayout(Module(), *this, layout);
}

void CKelimboDlg::OnSearchChange() {
    if (m_updating) {
        return;
    }
    {
        const QScopedValueRollback updating(m_updating, true);

        const fw::Edit box = GetEdit(IDC_SEARCH);
        const std::u16string text = ReadBox();
        const fw::Selection selection = box.GetSel();
        std::size_t start = static_cast<std::size_t>(selection.start);
        std::size_t end = static_cast<std::size_t>(selection.end);
        const std::u16string converted = x_to_accented(text, &start, &end);
        // Always set, converted or not; the notification this sends is ignored.
        box.SetWindowText(converted);
        box.SetSel(static_cast<int>(start), static_cast<int>(end));
        box.ScrollCaret();
    }
    if (m_words->Active()) {
        m_words->Fill();
    } else {
        FillList();
    }
}

std::string CKelimboDlg::GetQuery() {
    return to_index_key(ReadBox());
}

std::u16string CKelimboDlg::ReadBox() {
    return GetDlgItem(IDC_SEARCH).GetWindowText().substr(0, kMaxBoxUnits);
}

void CKelimboDlg::FillList() {
    LeaveFullText();
    m_list.ResetContent();
    const bool esperanto = m_listed.esperanto;
    m_listed = m_objects.lookup.ListKey(GetQuery(), true);
    if (m_listed.query.empty()) {
        m_listed.esperanto = esperanto; // an empty box keeps the last direction, for the history
        return;
    }
    // The offered lines come first and keep the headwords' own text; the
    // mark and its hint tell them from the prefix lines that follow.
    const std::u16string word = ReadBox();
    for (std::size_t k = 0; k < m_listed.offeredLines.size(); ++k) {
        m_list.AddMarkedString(m_listed.offeredLines[k],
                               m_listed.OfferedPart(k) ? u"часть слова «" + word + u"»"
                                                       : u"основная форма слова «" + word + u"»");
    }
    for (const std::u16string& line : m_listed.lines) {
        m_list.AddString(line);
    }
    OfferFullText();
}

void CKelimboDlg::OnCancel() {
    // Escape never ends the search window.
    const fw::Edit box = GetEdit(IDC_SEARCH);
    if (!box.GetWindowText().empty()) {
        box.SetWindowText(u"");
    }
    box.SetFocus();
}

bool CKelimboDlg::PreTranslateKey(int id, const fw::KeyDown& key) {
    if (m_words->PreTranslateKey(id, key)) {
        return true;
    }
    if (!key.Plain()) {
        return false;
    }
    if (id == IDC_SEARCH && (key.vk == fw::VK_DOWN || key.vk == fw::VK_NEXT)) {
        if (m_list.GetCount() == 0) {
            return false;
        }
        // Onto the first line; nothing opens until the line is chosen.
        m_list.SetCurSel(0);
        m_list.SetFocus();
        return true;
    }
    if (id == IDC_LIST && key.vk == fw::VK_UP && m_list.GetCurSel() <= 0) {
        GetDlgItem(IDC_SEARCH).SetFocus();
        return true;
    }
    return false;
}

void CKelimboDlg::OnDestroy() {
    if (!FillsScreen()) {
        m_objects.settings.SetPlacement(GetWindowPlacement());
    }
}

void CKelimboDlg::OnFind() {
    const fw::Edit box = GetEdit(IDC_SEARCH);
    box.SetFocus();
    box.SetSel(0, -1);
    box.ScrollCaret();
}

void CKelimboDlg::OnDictionaries() {
    CDictionariesDlg dialog(m_objects, this);
    dialog.DoModal();
    if (dialog.Changed()) {
        LeaveFullText(); // its results name the dictionaries of before
        ReopenDictionaries(m_objects);
        if (m_words->Active()) {
            m_words->Refresh();
        } else {
            FillList();
        }
    }
    GetEdit(IDC_SEARCH).SetFocus();
}

void CKelimboDlg::OnZoomIn() {
    ZoomCommand(m_objects.settings, *this, ID_ZOOM_IN);
}

void CKelimboDlg::OnZoomOut() {
    ZoomCommand(m_objects.settings, *this, ID_ZOOM_OUT);
}

void CKelimboDlg::OnZoomReset() {
    ZoomCommand(m_objects.settings, *this, ID_ZOOM_RESET);
}

void CKelimboDlg::PutWordInBox(std::u16string_view word) {
    // Setting the text converts it and fills the list before the call returns.
    const fw::Edit box = GetEdit(IDC_SEARCH);
    box.SetWindowText(word);
    box.SetSel(0, -1);
    box.ScrollCaret();
}

void CKelimboDlg::ShowWord(std::u16string_view word) {
    if (word.empty()) {
        BringToFront();
        return;
    }
    if (m_pLegilo != nullptr && m_pLegilo->HasWindow()) {
        // The reader loop shows the word once the reader has closed.
        m_pending = std::u16string(word);
        m_pLegilo->EndDialog(fw::IDCANCEL);
        return;
    }
    if (m_words->Active()) {
        m_words->Leave();
    }
    PutWordInBox(word);
    GetDlgItem(IDC_SEARCH).SetFocus();
    SetForegroundWindow();
}

void CKelimboDlg::Quit() {
    if (m_pLegilo != nullptr && m_pLegilo->HasWindow()) {
        m_pLegilo->SendMessage(fw::Msg::Command, ID_QUIT);
    } else if (HasWindow()) {
        SendMessage(fw::Msg::Command, fw::IDOK);
    }
}

void CKelimboDlg::BringToFront() {
    if (m_pLegilo != nullptr && m_pLegilo->HasWindow()) {
        m_pLegilo->SetForegroundWindow();
    } else {
        SetForegroundWindow();
    }
}

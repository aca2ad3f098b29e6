#include "ui/kelimbo_dlg.h"

#include "framework/input_panel.h"
#include "query/query_rules.h"
#include "text/esperanto_x.h"
#include "text/index_key.h"
#include "ui/kelimbo_resources.h"
#include "ui/program_objects.h"
#include "ui/resource_ids.h"
#include "ui/soft_key_menus.h"
#include "ui/template_layout.h"

#include <QScopedValueRollback>

#include <span>

const fw::MessageMapEntry<CKelimboDlg> CKelimboDlg::kMessageMap[] = {
    {fw::Msg::Size, 0, &CKelimboDlg::OnSize},
    {fw::Msg::EditChange, IDC_SEARCH, &CKelimboDlg::OnSearchChange},
    {fw::Msg::ListSelChange, IDC_LIST, &CKelimboDlg::OnListSelChange},
    {fw::Msg::Command, ID_BACK, &CKelimboDlg::OnBack},
    {fw::Msg::Command, ID_FORWARD, &CKelimboDlg::OnForward},
};

CKelimboDlg::CKelimboDlg(ProgramObjects& objects, fw::Dialog* pParent)
    : fw::Dialog(KelimboResources(), IDD_KELIMBO_DIALOG, pParent),
      m_hIcon(KelimboResources().FindIcon(IDI_KELIMBO)), m_objects(objects) {}

CKelimboDlg::~CKelimboDlg() = default;

void CKelimboDlg::DoDataExchange() {
    BindControl(IDC_LIST, m_list);
}

bool CKelimboDlg::OnMessage(fw::Msg msg, int id) {
    return fw::DispatchMessage<CKelimboDlg>(*this, kMessageMap, msg, id) ||
           fw::Dialog::OnMessage(msg, id);
}

bool CKelimboDlg::OnInitDialog() {
    fw::Dialog::OnInitDialog();
    SetIcon(m_hIcon, true);
    SetIcon(m_hIcon, false);
    if (m_objects.theHistory.cursor > 0) {
        // Setting the text converts it and fills the list before the call returns.
        const std::u16string query = m_objects.theHistory.CurrentQuery();
        const fw::Edit box = GetEdit(IDC_SEARCH);
        box.SetWindowText(query);
        box.SetSel(0, static_cast<int>(query.size()));
        box.ScrollCaret();
    }
    UpdateSoftKeys(*this, m_objects.theHistory);
    fw::SipPreference(*this, fw::SipState::Up);
    SetFocus();
    GetDlgItem(IDC_SEARCH).SetFocus();
    return false; // the focus is placed
}

void CKelimboDlg::OnSize() {
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
    FillList();
}

std::string CKelimboDlg::GetQuery() {
    return to_index_key(ReadBox());
}

std::u16string CKelimboDlg::ReadBox() {
    return GetDlgItem(IDC_SEARCH).GetWindowText().substr(0, kMaxBoxUnits);
}

void CKelimboDlg::FillList() {
    const std::string query = GetQuery();
    m_list.ResetContent();
    if (query.empty()) {
        return; // the index, the provider and m_first stay as they were
    }
    const bool esperanto = IsEsperantoQuery(query);
    m_pIndex = esperanto ? static_cast<cIndex*>(&m_objects.eoIndex) : &m_objects.ruIndex;
    m_pProv = esperanto ? static_cast<cKelimboProv*>(&m_objects.eoProv) : &m_objects.ruProv;
    const HeadwordRange range = m_pIndex->FindPrefix(query);
    m_first = range.first;
    // Line k shows the headword at m_first + k.
    const HeadwordRange listed = ListedRange(range);
    for (std::uint32_t p = listed.first; p < listed.last; ++p) {
        m_list.AddString(from_index_key(m_pIndex->GetHeadword(p)));
    }
}

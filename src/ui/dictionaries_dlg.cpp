// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/dictionaries_dlg.h"

#include "framework/keys.h"
#include "framework/message_box.h"
#include "lookup/lookup_core.h"
#include "platform/code_page.h"
#include "ui/kelimbo_resources.h"
#include "ui/program_objects.h"
#include "ui/resource_ids.h"

#include <cstdio>
#include <stdexcept>
#include <utility>

CDictionariesDlg::CDictionariesDlg(ProgramObjects& objects, fw::Dialog* pParent)
    : fw::Dialog(KelimboResources(), IDD_DICTIONARIES, pParent), m_objects(objects) {}

void CDictionariesDlg::DoDataExchange() {
    BindControl(IDC_DICTIONARIES, m_list);
}

bool CDictionariesDlg::OnInitDialog() {
    fw::Dialog::OnInitDialog();
    const DictionaryList listed = ListDictionaries(m_objects.dataFolder);
    m_entries = OrderOf(listed);
    Fill(0);
    m_list.SetFocus();
    return false;
}

void CDictionariesDlg::Fill(int current) {
    m_list.ResetContent();
    for (const OrderEntry& entry : m_entries) {
        m_list.AddCheckString(platform::FromUtf8(entry.name), entry.enabled);
    }
    if (!m_entries.empty()) {
        m_list.SetCurSel(current);
    }
}

void CDictionariesDlg::Toggle() {
    const int line = m_list.GetCurSel();
    if (line < 0 || static_cast<std::size_t>(line) >= m_entries.size()) {
        return;
    }
    m_list.SetCheck(line, !m_entries[static_cast<std::size_t>(line)].enabled);
    OnCheckChange();
}

void CDictionariesDlg::OnCheckChange() {
    // The list is not filled anew here: the box's own change is still under way.
    const int line = m_list.GetCurSel();
    if (line < 0 || static_cast<std::size_t>(line) >= m_entries.size()) {
        return;
    }
    OrderEntry& entry = m_entries[static_cast<std::size_t>(line)];
    if (entry.enabled == m_list.GetCheck(line)) {
        return;
    }
    entry.enabled = m_list.GetCheck(line);
    Save();
}

bool CDictionariesDlg::OnMessage(fw::Msg msg, int id) {
    if (msg == fw::Msg::ListCheckChange && id == IDC_DICTIONARIES) {
        OnCheckChange();
        return true;
    }
    return fw::Dialog::OnMessage(msg, id);
}

void CDictionariesDlg::Move(int step) {
    const int line = m_list.GetCurSel();
    const int target = line + step;
    if (line < 0 || target < 0 || static_cast<std::size_t>(line) >= m_entries.size() ||
        static_cast<std::size_t>(target) >= m_entries.size()) {
        return;
    }
    std::swap(m_entries[static_cast<std::size_t>(line)],
              m_entries[static_cast<std::size_t>(target)]);
    Save();
    Fill(target);
}

void CDictionariesDlg::Save() {
    try {
        WriteDictionaryOrder(m_objects.dataFolder, m_entries);
        m_problem.clear();
        m_changed = true;
    } catch (const std::exception& e) {
        // The file keeps what it held; the dialog shows the entries as they are now.
        m_problem = e.what();
        fw::MessageBox(this, platform::FromUtf8(m_problem), u"Ошибка", fw::MessageBoxIcon::Error);
    }
}

bool CDictionariesDlg::PreTranslateKey(int id, const fw::KeyDown& key) {
    if (id != IDC_DICTIONARIES) {
        return false;
    }
    if ((key.vk == fw::VK_UP || key.vk == fw::VK_DOWN) && (key.ctrl || key.alt) && !key.shift) {
        Move(key.vk == fw::VK_UP ? -1 : 1);
        return true;
    }
    return false;
}

void ReopenDictionaries(ProgramObjects& objects) {
    std::vector<std::string> messages;
    objects.lookup.Open(DictionarySourcesOf(objects.dataFolder, messages));
    for (const std::string& message : messages) {
        std::fprintf(stderr, "kelimbo: %s\n", message.c_str());
    }
    objects.lookup.Load();
    KeepHistoryInStep(objects);
}

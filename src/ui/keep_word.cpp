// SPDX-License-Identifier: GPL-2.0-or-later
// The reader's star: the headword shown kept in the word list or taken out.
#include "framework/message_box.h"
#include "platform/code_page.h"
#include "ui/legilo_dlg.h"
#include "ui/program_objects.h"
#include "ui/resource_ids.h"

#include <string>

namespace {
constexpr std::u16string_view kKept = u"★";
constexpr std::u16string_view kNotKept = u"☆";
} // namespace

void CLegiloDlg::OnKeep() {
    if (m_headword.empty()) {
        return;
    }
    wordlist::WordList& words = m_objects.words;
    const std::string word = platform::ToUtf8(m_headword);
    if (words.Contains(word, m_esperanto)) {
        words.Remove(word, m_esperanto);
    } else {
        words.Add(word, m_esperanto);
    }
    ShowKept();
    if (!words.Save()) {
        // The change stays in the list and goes into the file with the next save.
        std::u16string text;
        for (const std::string& message : words.Messages()) {
            text += (text.empty() ? u"" : u"\n") + platform::FromUtf8(message);
        }
        words.ClearMessages();
        fw::MessageBox(this, text, u"Ошибка", fw::MessageBoxIcon::Error);
    }
}

void CLegiloDlg::ShowKept() {
    const fw::Control star = GetDlgItem(IDC_KEEP);
    const bool kept =
        !m_headword.empty() && m_objects.words.Contains(platform::ToUtf8(m_headword), m_esperanto);
    star.SetWindowText(kept ? kKept : kNotKept);
}

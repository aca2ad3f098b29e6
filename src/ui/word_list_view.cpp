// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/word_list_view.h"

#include "errors/exc_msg.h"
#include "framework/file_dialog.h"
#include "framework/message_box.h"
#include "framework/soft_keys.h"
#include "platform/code_page.h"
#include "ui/kelimbo_dlg.h"
#include "ui/kelimbo_resources.h"
#include "ui/program_objects.h"
#include "ui/resource_ids.h"
#include "ui/soft_key_menus.h"
#include "wordlist/word_export.h"
#include "wordlist/word_list.h"
#include "wordlist/word_translation.h"

#include <algorithm>
#include <string_view>

namespace {

constexpr std::u16string_view kMissing = u"(нет в словаре)";
constexpr std::u16string_view kMissingHint = u"нет ни в одном словаре";
constexpr std::u16string_view kDash = u" — ";

wordlist::SortOrder ListOrder(WordOrder order) {
    switch (order) {
    case WordOrder::ByName:
        return wordlist::SortOrder::Alphabetical;
    case WordOrder::ByLookups:
        return wordlist::SortOrder::Lookups;
    case WordOrder::ByDate:
        break;
    }
    return wordlist::SortOrder::Added;
}

std::uint16_t OrderMenu(WordOrder order) {
    switch (order) {
    case WordOrder::ByName:
        return IDR_MENU_WORDS_BY_NAME;
    case WordOrder::ByLookups:
        return IDR_MENU_WORDS_BY_LOOKUPS;
    case WordOrder::ByDate:
        break;
    }
    return IDR_MENU_WORDS_BY_DATE;
}

WordOrder Next(WordOrder order) {
    switch (order) {
    case WordOrder::ByDate:
        return WordOrder::ByName;
    case WordOrder::ByName:
        return WordOrder::ByLookups;
    case WordOrder::ByLookups:
        break;
    }
    return WordOrder::ByDate;
}

std::string Key(const wordlist::Word& word) {
    return (word.esperanto ? "eo\t" : "ru\t") + word.text;
}

// Whether a file name asks for CSV: it ends in ".csv", in any case.
bool NamesCsv(std::string_view path) {
    constexpr std::string_view kCsv = ".csv";
    if (path.size() < kCsv.size()) {
        return false;
    }
    const std::string_view end = path.substr(path.size() - kCsv.size());
    return std::equal(end.begin(), end.end(), kCsv.begin(),
                      [](char a, char b) { return (a | 0x20) == b; });
}

std::u16string Joined(const std::vector<std::string>& messages) {
    std::string text;
    for (const std::string& message : messages) {
        text += (text.empty() ? "" : "\n") + message;
    }
    return platform::FromUtf8(text);
}

} // namespace

namespace {
// The lines whose translations one turn of the event loop shows.
constexpr std::size_t kLinesPerTurn = 300;
} // namespace

WordListView::WordListView(ProgramObjects& objects, CKelimboDlg& window)
    : m_objects(objects), m_window(window) {
    m_translating.setSingleShot(true);
    QObject::connect(&m_translating, &QTimer::timeout, &m_translating, [this] {
        if (!m_active) {
            return; // the list shows headwords again
        }
        // From the event loop, where nothing may be thrown: a dictionary that
        // cannot be read any more is said, and the lines left wait for the
        // next fill.
        try {
            TranslateUpTo(m_translated + kLinesPerTurn);
        } catch (const cExcMsg& e) {
            fw::MessageBox(&m_window, e.GetMsg(), u"Ошибка", fw::MessageBoxIcon::Error);
            return;
        }
        if (m_active && m_translated < m_shown.size()) {
            m_translating.start(0);
        }
    });
}

bool WordListView::OnMessage(fw::Msg msg, int id) {
    if (msg == fw::Msg::Command && id == ID_WORD_LIST) {
        m_active ? Leave() : Enter();
        return true;
    }
    if (!m_active) {
        return false;
    }
    if (msg == fw::Msg::Command) {
        switch (id) {
        case fw::IDCANCEL:
            Leave();
            return true;
        case ID_WORD_ORDER:
            NextOrder();
            return true;
        case ID_EXPORT:
            Export();
            return true;
        default:
            return false;
        }
    }
    if (msg == fw::Msg::ListSelChange && id == IDC_LIST) {
        Open();
        return true;
    }
    return false;
}

bool WordListView::PreTranslateKey(int id, const fw::KeyDown& key) {
    if (!m_active) {
        return false;
    }
    if (key.vk == fw::VK_Z && key.ctrl && !key.alt && !key.shift && !m_removed.empty()) {
        Undo();
        return true;
    }
    if (!key.Plain()) {
        return false;
    }
    if (id == IDC_LIST && key.vk == fw::VK_DELETE) {
        Remove();
        return true;
    }
    if (id == IDC_SEARCH && key.vk == fw::VK_RETURN && m_window.m_list.GetCount() > 0) {
        // Enter in the box opens the current line, or the first.
        if (m_window.m_list.GetCurSel() == fw::LB_ERR) {
            m_window.m_list.SetCurSel(0);
        }
        Open();
        return true;
    }
    return false;
}

void WordListView::Enter() {
    const fw::Edit box = m_window.GetEdit(IDC_SEARCH);
    m_searchText = box.GetWindowText();
    m_removed.clear();
    m_firstLines.clear(); // the dictionaries may have changed since
    m_active = true;
    if (const std::vector<std::string>& messages = m_objects.words.Messages(); !messages.empty()) {
        // What loading or saving the list had to say, once.
        fw::MessageBox(&m_window, Joined(messages), u"Мои слова", fw::MessageBoxIcon::Warning);
        m_objects.words.ClearMessages();
    }
    ShowKeys();
    box.SetWindowText(u""); // fills the list
    box.SetFocus();
    if (m_window.m_list.GetCount() > 0) {
        m_window.m_list.SetCurSel(0);
    }
}

void WordListView::Leave() {
    m_active = false;
    m_translating.stop();
    m_removed.clear();
    m_window.SetWindowText(u"Kelimbo");
    UpdateSoftKeys(m_window, m_objects.theHistory, m_objects.words.Size() > 0);
    const fw::Edit box = m_window.GetEdit(IDC_SEARCH);
    box.SetWindowText(m_searchText); // the search's list again
    box.SetSel(0, -1);
    box.ScrollCaret();
    box.SetFocus();
}

std::optional<std::u16string> WordListView::Translation(const wordlist::Word& word) {
    const std::string key = Key(word);
    if (const auto found = m_firstLines.find(key); found != m_firstLines.end()) {
        return found->second;
    }
    std::optional<std::u16string> line;
    if (const std::optional<std::string> first = wordlist::WordFirstLine(m_objects.lookup, word)) {
        line = platform::FromUtf8(*first);
    }
    m_firstLines.emplace(key, line);
    return line;
}

void WordListView::Fill() {
    const wordlist::WordList& words = m_objects.words;
    std::vector<std::size_t> positions = words.Filtered(
        words.Sorted(ListOrder(m_objects.settings.WordListOrder())), m_window.ReadBox());
    if (m_objects.settings.WordListOrder() == WordOrder::ByDate) {
        std::reverse(positions.begin(), positions.end()); // the newest first
    }
    m_translating.stop();
    m_shown.clear();
    m_translated = 0;
    m_window.m_list.ResetContent();
    for (const std::size_t position : positions) {
        const wordlist::Word& word = words.Words()[position];
        m_shown.push_back(word);
        m_window.m_list.AddString(platform::FromUtf8(word.text));
    }
    TranslateUpTo(kFirstLines);
    if (m_translated < m_shown.size()) {
        m_translating.start(0);
    }
    ShowCaption();
}

void WordListView::TranslateUpTo(std::size_t end) {
    end = std::min(end, m_shown.size());
    for (; m_translated < end; ++m_translated) {
        const wordlist::Word& word = m_shown[m_translated];
        const std::u16string text = platform::FromUtf8(word.text);
        const int line = static_cast<int>(m_translated);
        if (const std::optional<std::u16string> first = Translation(word)) {
            if (!first->empty()) {
                m_window.m_list.SetString(line, text + kDash.data() + *first);
            }
        } else {
            m_window.m_list.SetString(line, text + u" " + kMissing.data(), kMissingHint);
        }
    }
}

void WordListView::FinishTranslations() {
    m_translating.stop();
    TranslateUpTo(m_shown.size());
}

void WordListView::Refresh() {
    m_firstLines.clear();
    Fill();
}

void WordListView::ShowCaption() {
    m_window.SetWindowText(
        u"Мои слова: " + platform::FromUtf8(std::to_string(m_shown.size())) +
        (m_shown.size() == m_objects.words.Size()
             ? u""
             : u" из " + platform::FromUtf8(std::to_string(m_objects.words.Size()))) +
        u" — Kelimbo");
}

void WordListView::ShowKeys() {
    fw::CreateMenuBar(m_window, fw::kMenuBarMenu,
                      KelimboResources().FindMenu(OrderMenu(m_objects.settings.WordListOrder())));
}

void WordListView::Open() {
    const int line = m_window.m_list.GetCurSel();
    if (line == fw::LB_ERR || static_cast<std::size_t>(line) >= m_shown.size()) {
        return;
    }
    const wordlist::Word word = m_shown[static_cast<std::size_t>(line)];
    const std::u16string text = platform::FromUtf8(word.text);
    const fw::Edit box = m_window.GetEdit(IDC_SEARCH);
    const std::u16string filter = box.GetWindowText();
    // The word is looked up as if typed, and its line chosen: the reader and
    // the history take it as any other.
    m_active = false;
    m_translating.stop();
    box.SetWindowText(text);
    const ListResult& listed = m_window.Listed();
    // The line written as the word, else the same headword in another case.
    std::optional<std::size_t> found;
    if (listed.esperanto == word.esperanto && !listed.Offers()) {
        found = wordlist::HeadwordLine(listed, text);
    }
    if (found) {
        m_window.m_list.SetCurSel(static_cast<int>(*found));
        m_window.OnListSelChange();
        if (box.GetWindowText() != text) {
            return; // a word translated in the reader, or sent from outside: the search goes on
        }
    }
    // Back to the list, at the word.
    m_active = true;
    ShowKeys();
    box.SetWindowText(filter);
    for (std::size_t k = 0; k < m_shown.size(); ++k) {
        if (m_shown[k].text == word.text && m_shown[k].esperanto == word.esperanto) {
            m_window.m_list.SetCurSel(static_cast<int>(k));
        }
    }
    m_window.m_list.SetFocus();
    if (!found) {
        fw::MessageBox(&m_window, u"«" + text + u"» нет в словаре.", u"Мои слова",
                       fw::MessageBoxIcon::Information);
    }
}

void WordListView::Remove() {
    const int line = m_window.m_list.GetCurSel();
    if (line == fw::LB_ERR || static_cast<std::size_t>(line) >= m_shown.size()) {
        return;
    }
    const wordlist::Word& word = m_shown[static_cast<std::size_t>(line)];
    if (std::optional<wordlist::Word> removed = m_objects.words.Remove(word.text, word.esperanto)) {
        m_removed.push_back(std::move(*removed));
        Save();
    }
    Fill();
    const int count = m_window.m_list.GetCount();
    if (count > 0) {
        m_window.m_list.SetCurSel(std::min(line, count - 1));
        m_window.m_list.SetFocus();
    } else {
        m_window.GetDlgItem(IDC_SEARCH).SetFocus();
    }
}

void WordListView::Undo() {
    if (m_removed.empty()) {
        return;
    }
    const wordlist::Word word = std::move(m_removed.back());
    m_removed.pop_back();
    if (m_objects.words.Restore(word)) {
        Save();
    }
    Fill();
    for (std::size_t k = 0; k < m_shown.size(); ++k) {
        if (m_shown[k].text == word.text && m_shown[k].esperanto == word.esperanto) {
            m_window.m_list.SetCurSel(static_cast<int>(k));
            m_window.m_list.SetFocus();
        }
    }
}

void WordListView::NextOrder() {
    m_objects.settings.SetWordListOrder(Next(m_objects.settings.WordListOrder()));
    ShowKeys();
    Fill();
    if (m_window.m_list.GetCount() > 0) {
        m_window.m_list.SetCurSel(0);
    }
}

void WordListView::Export() {
    const std::optional<std::string> path =
        fw::GetSaveFileName(&m_window, u"Экспорт слов", u"kelimbo-vortoj.tsv",
                            u"Для Anki, через табуляцию (*.tsv *.txt);;CSV (*.csv);;Все файлы (*)");
    if (!path) {
        return;
    }
    const std::u16string shownPath = platform::FromAnsi(platform::AnsiPath(*path));
    std::string bytes;
    try {
        bytes = wordlist::ExportWords(m_shown, m_objects.lookup,
                                      NamesCsv(*path) ? wordlist::ExportFormat::Csv
                                                      : wordlist::ExportFormat::AnkiTsv);
    } catch (const cExcMsg& e) {
        // A dictionary that cannot be read: nothing is written, the list stays.
        fw::MessageBox(&m_window, e.GetMsg(), u"Ошибка", fw::MessageBoxIcon::Error);
        return;
    }
    std::string problem;
    if (!wordlist::WriteExportFile(*path, bytes, problem)) {
        fw::MessageBox(&m_window, platform::FromUtf8(problem), u"Ошибка",
                       fw::MessageBoxIcon::Error);
        return;
    }
    fw::MessageBox(&m_window,
                   u"Записано слов: " + platform::FromUtf8(std::to_string(m_shown.size())) + u"\n" +
                       shownPath,
                   u"Экспорт", fw::MessageBoxIcon::Information);
}

void WordListView::Save() {
    if (!m_objects.words.Save()) {
        fw::MessageBox(&m_window, Joined(m_objects.words.Messages()), u"Ошибка",
                       fw::MessageBoxIcon::Error);
        m_objects.words.ClearMessages();
    }
}

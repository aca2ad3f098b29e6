// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Drives the search window and its reader together: the main window's own run
// and every nested reader run are taken over by one modal hook, which hands
// each reader run to the next step of a script.

#include "framework/test_hooks.h"
#include "platform/code_page.h"
#include "reading_dictionary.h"
#include "support/dictionary_fixture.h"
#include "support/gui_driver.h"
#include "support/temp_dir.h"
#include "ui/kelimbo_dlg.h"
#include "ui/legilo_dlg.h"
#include "ui/resource_ids.h"
#include "window_probe.h"

#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace reader_loop_harness {

// The shown articles of the reading dictionary.
inline const std::u16string kHundo = u"hundo\r\nсобака, пёс; hunda — собачий\r\n";
inline const std::u16string kKato = u"kato\r\nкошка, кот\r\n";
inline const std::u16string kAmi = u"ami\r\nлюбить; ŝi amas hundojn\r\n";
inline const std::u16string kSobaka = u"собака\r\nhundo\r\n";
inline const std::u16string kKoshka = u"кошка\r\nkato\r\n";
inline const std::u16string kDoma = u"дома\r\nhejme\r\n";

inline void Click(QWidget* widget) {
    ASSERT_NE(widget, nullptr);
    QTest::mouseClick(widget, Qt::LeftButton);
}

class ReaderLoopTest : public ::testing::Test, protected dictionary_fixture::WithProgramObjects {
protected:
    void SetUp() override {
        reading_dictionary::Write(dir);
        dictionary_fixture::LoadIndexes(objects, dir);
        main.m_pLegilo = &reader;
    }

    std::vector<ArticleRef> EoRefs(const char* headword) const {
        return eoIndex.GetRefs(eoIndex.FindPrefix(headword).first);
    }
    std::vector<ArticleRef> RuRefs(const char* utf8Headword) const {
        return ruIndex.GetRefs(ruIndex.FindPrefix(testing_support::Cp1251(utf8Headword)).first);
    }
    window_probe::HistoryState History() const { return window_probe::History(theHistory); }

    // Runs the main window with `user` at it, then closes it; each reader run
    // takes the next of `reads`, which ends it.
    void Run(const std::function<void()>& user, const std::vector<std::function<void()>>& reads) {
        std::size_t next = 0;
        fw::testing::ScopedModalRun run([&](fw::Dialog& d) {
            if (&d == &main) {
                user();
                main.EndDialog(fw::IDOK);
                return;
            }
            ASSERT_EQ(&d, &reader);
            ASSERT_LT(next, reads.size()) << "a reader run more than the script has";
            EXPECT_FALSE(theHistory.searchView) << "reader run " << next;
            reads[next++]();
        });
        main.DoModal();
        EXPECT_EQ(next, reads.size()) << "reader runs";
    }

    // User actions.
    void Type(std::u16string_view text) {
        gui_driver::Type(fw::testing::ControlWidget(main, IDC_SEARCH), text);
    }
    void Choose(int line) {
        gui_driver::ClickLine(fw::testing::ControlWidget(main, IDC_LIST), line);
    }
    void MainKey(int command) { Click(fw::testing::SoftKeyWidget(main, command)); }
    void ReaderKey(int command) { Click(fw::testing::SoftKeyWidget(reader, command)); }
    void CloseReader() { fw::testing::WindowWidget(reader)->close(); }
    // Selects the last occurrence of `selected` in the article and presses the button.
    void Translate(std::u16string_view selected) {
        const std::u16string text = window_probe::Article(reader);
        const std::size_t at = text.rfind(selected);
        ASSERT_NE(at, std::u16string::npos) << platform::ToUtf8(selected);
        reader.GetEdit(IDC_ARTICLE)
            .SetSel(static_cast<int>(at), static_cast<int>(at + selected.size()));
        Click(fw::testing::ControlWidget(reader, IDC_TRANSLATE));
    }

    // What the search window shows: box text with all of it selected, the list,
    // the soft keys of a menu (or none).
    void ExpectSearch(std::u16string_view box, const std::vector<std::u16string>& lines,
                      std::uint16_t menu, int line) {
        SCOPED_TRACE(::testing::Message() << "search window, line " << line);
        EXPECT_EQ(window_probe::BoxText(main), box);
        EXPECT_EQ(window_probe::BoxSel(main), (fw::Selection{0, static_cast<int>(box.size())}));
        EXPECT_EQ(window_probe::Lines(main), lines);
        EXPECT_EQ(fw::SoftKeys(main), window_probe::MenuKeys(menu));
    }
    // What the reader shows, and the box behind it.
    void ExpectReader(const std::u16string& article, std::uint16_t menu, std::u16string_view box,
                      int line) {
        SCOPED_TRACE(::testing::Message() << "reader, line " << line);
        EXPECT_EQ(window_probe::Article(reader), article);
        EXPECT_EQ(fw::SoftKeys(reader), window_probe::MenuKeys(menu));
        EXPECT_EQ(window_probe::BoxText(main), box);
    }
    void ExpectHistory(const window_probe::HistoryState& state, int line) {
        EXPECT_EQ(History(), state) << "history, line " << line;
    }

    testing_support::TempDir dir;
    CKelimboDlg main{objects};
    CLegiloDlg reader{objects, &main};
};

} // namespace reader_loop_harness

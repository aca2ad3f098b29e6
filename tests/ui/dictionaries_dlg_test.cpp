// SPDX-License-Identifier: GPL-2.0-or-later
// The dictionaries dialog over the search window, with real widgets and two
// added dictionaries: the keys switch and reorder them, the order file holds
// what the dialog shows, and the window's list and articles follow at once.
#include "articles/dictionary_set.h"
#include "framework/test_hooks.h"
#include "platform/code_page.h"
#include "support/dictionary_fixture.h"
#include "support/gui_driver.h"
#include "ui/dictionaries_dlg.h"
#include "ui/kelimbo_dlg.h"
#include "ui/resource_ids.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using fw::testing::ControlWidget;
using fw::testing::ScopedModalRun;

// The dictionaries' headings in the text of an article, in order.
std::vector<std::string> Headings(const std::u16string& text) {
    std::vector<std::string> names;
    const std::string utf8 = platform::ToUtf8(text);
    for (std::size_t at = 0; (at = utf8.find("— ", at)) != std::string::npos;) {
        const std::size_t end = utf8.find(" —", at + 4);
        names.push_back(utf8.substr(at + 4, end - at - 4));
        at = end + 4;
    }
    return names;
}

class DictionariesDlgTest : public ::testing::Test,
                            protected dictionary_fixture::WithProgramObjects {
protected:
    void SetUp() override {
        dictionary_fixture::WriteDataFiles(dir);
        // Two added dictionaries holding the same pair as the folder's own.
        for (const char* name : {"alfa", "beta"}) {
            const fs::path folder = dir.Path() / "dictionaries" / name;
            fs::create_directories(folder);
            for (const char* file : {"EoRu_kelimbo.txt", "EoRu_kelimbo.bsi",
                                     "tarnesk_rusa_esperanto.txt", "tarnesk_rusa_esperanto.bsi"}) {
                fs::copy_file(dir.Path() / file, folder / file);
            }
        }
        objects.dataFolder = dir.AnsiPath("");
    }

    testing_support::TempDir dir;
};

TEST_F(DictionariesDlgTest, KeysSwitchAndReorderAndTheWindowFollows) {
    const std::string main = "Основной словарь";
    struct Case {
        const char* name;
        std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> keys;
        std::vector<OrderEntry> order; // the order file afterwards
        std::vector<std::string> headings;
    };
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    const Case cases[] = {
        {"nothing", {}, {{"alfa", true}, {"beta", true}}, {main, "alfa", "beta"}},
        {"Space switches the first off",
         {{Qt::Key_Space, none}},
         {{"alfa", false}, {"beta", true}},
         {main, "beta"}},
        {"Ctrl+Down moves it down",
         {{Qt::Key_Down, Qt::ControlModifier}},
         {{"beta", true}, {"alfa", true}},
         {main, "beta", "alfa"}},
        {"Alt+Up moves the second up",
         {{Qt::Key_Down, none}, {Qt::Key_Up, Qt::AltModifier}},
         {{"beta", true}, {"alfa", true}},
         {main, "beta", "alfa"}},
        {"nothing moves past the ends",
         {{Qt::Key_Up, Qt::ControlModifier},
          {Qt::Key_Down, none},
          {Qt::Key_Down, Qt::ControlModifier}},
         {{"alfa", true}, {"beta", true}},
         {main, "alfa", "beta"}},
        {"off, moved, on",
         {{Qt::Key_Down, none},
          {Qt::Key_Space, none},
          {Qt::Key_Up, Qt::ControlModifier},
          {Qt::Key_Space, none}},
         {{"beta", true}, {"alfa", true}},
         {main, "beta", "alfa"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteDictionaryOrder(dir.AnsiPath(""), {{"alfa", true}, {"beta", true}});
        ReopenDictionaries(objects);

        CKelimboDlg window(objects);
        std::vector<std::string> shown;
        ScopedModalRun run([&](fw::Dialog& d) {
            if (auto* dictionaries = dynamic_cast<CDictionariesDlg*>(&d)) {
                QWidget* list = ControlWidget(*dictionaries, IDC_DICTIONARIES);
                ASSERT_TRUE(gui_driver::Activate(list));
                for (const auto& [key, modifiers] : c.keys) {
                    gui_driver::Key(list, key, modifiers);
                }
                for (int i = 0; i < dictionaries->m_list.GetCount(); ++i) {
                    shown.push_back((dictionaries->m_list.GetCheck(i) ? "☑ " : "☐ ") +
                                    platform::ToUtf8(dictionaries->m_list.GetText(i)));
                }
                gui_driver::Key(list, Qt::Key_Escape);
                return;
            }
            QWidget* box = ControlWidget(window, IDC_SEARCH);
            ASSERT_TRUE(gui_driver::Activate(box));
            window.GetEdit(IDC_SEARCH).SetWindowText(u"ĉapelo");
            EXPECT_EQ(Headings(objects.lookup.Article(window.Listed(), 0)),
                      (std::vector<std::string>{main, "alfa", "beta"}));
            gui_driver::Key(box, Qt::Key_D, Qt::ControlModifier);
            // The list was filled anew from the dictionaries as they are now.
            ASSERT_EQ(window.Listed().LineCount(), 1u);
            EXPECT_EQ(Headings(objects.lookup.Article(window.Listed(), 0)), c.headings);
            window.EndDialog(fw::IDOK);
        });
        EXPECT_EQ(window.DoModal(), fw::IDOK);

        std::vector<std::string> expectedShown;
        for (const OrderEntry& entry : c.order) {
            expectedShown.push_back((entry.enabled ? "☑ " : "☐ ") + entry.name);
        }
        EXPECT_EQ(shown, expectedShown);
        EXPECT_EQ(OrderOf(ListDictionaries(dir.AnsiPath(""))), c.order);
        // The history stamps the dictionaries the core now answers from.
        std::vector<std::string> stamped;
        for (const AddedTexts& texts : objects.theHistory.addedTexts) {
            stamped.push_back(texts.name);
        }
        EXPECT_EQ(stamped, std::vector<std::string>(c.headings.begin() + 1, c.headings.end()));
    }
}

TEST_F(DictionariesDlgTest, AClickOnABoxSwitchesItsDictionaryAtOnce) {
    WriteDictionaryOrder(dir.AnsiPath(""), {{"alfa", true}, {"beta", true}});
    ReopenDictionaries(objects);
    CDictionariesDlg dialog(objects, nullptr);
    std::vector<OrderEntry> written;
    ScopedModalRun run([&](fw::Dialog&) {
        QWidget* list = ControlWidget(dialog, IDC_DICTIONARIES);
        ASSERT_TRUE(gui_driver::Activate(list));
        gui_driver::ClickCheckBox(list, 1);
        written = OrderOf(ListDictionaries(dir.AnsiPath("")));
        EXPECT_EQ(dialog.m_list.GetCurSel(), 1) << "the clicked line is the current one";
        gui_driver::ClickCheckBox(list, 0);
        gui_driver::Key(list, Qt::Key_Escape);
    });
    EXPECT_EQ(dialog.DoModal(), fw::IDCANCEL);
    EXPECT_EQ(written, (std::vector<OrderEntry>{{"alfa", true}, {"beta", false}}));
    EXPECT_EQ(OrderOf(ListDictionaries(dir.AnsiPath(""))),
              (std::vector<OrderEntry>{{"alfa", false}, {"beta", false}}));
    EXPECT_EQ(dialog.Entries(), OrderOf(ListDictionaries(dir.AnsiPath(""))));
    EXPECT_TRUE(dialog.Changed());
}

} // namespace

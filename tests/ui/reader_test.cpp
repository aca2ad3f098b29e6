// SPDX-License-Identifier: GPL-2.0-or-later
// The reader window alone: its articles, the word handed over by the translate
// button, its end codes, its soft keys and a dictionary file it cannot open.
#include "framework/input_panel.h"
#include "framework/test_hooks.h"
#include "platform/code_page.h"
#include "reading_dictionary.h"
#include "support/dictionary_fixture.h"
#include "support/gui_driver.h"
#include "support/temp_dir.h"
#include "ui/legilo_dlg.h"
#include "ui/resource_ids.h"
#include "ui/selected_word.h"
#include "window_probe.h"

#include <QAbstractScrollArea>
#include <QKeySequence>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace {

using fw::testing::ControlWidget;
using fw::testing::MessageBoxCapture;
using fw::testing::ScopedModalRun;
using fw::testing::SoftKeyWidget;
using fw::testing::WindowWidget;
using platform::FromUtf8;
using platform::ToUtf8;
using window_probe::Article;
using window_probe::MenuKeys;

// The references of the headword that a query finds first.
std::vector<ArticleRef> RefsOf(const cIndex& index, const std::string& key) {
    return index.GetRefs(index.FindPrefix(key).first);
}

class ReaderTest : public ::testing::Test, protected dictionary_fixture::WithProgramObjects {
protected:
    void SetUp() override {
        reading_dictionary::Write(dir);
        dictionary_fixture::LoadIndexes(objects, dir);
        theHistory.searchView = false; // as the main window sets it around a reader run
    }

    // A history of `n` entries with the cursor at `cursor`, read the reader's way.
    void SetHistory(int n, int cursor, bool searchView = false) {
        theHistory.entries.clear();
        for (int i = 0; i < n; ++i) {
            theHistory.entries.push_back(
                {{{0, 1}}, u"q" + std::u16string(static_cast<std::size_t>(i), u'q'), true});
        }
        theHistory.cursor = cursor;
        theHistory.searchView = searchView;
    }

    // Runs the reader with `user` at it; the end code.
    std::intptr_t Read(const std::function<void()>& user) {
        ScopedModalRun run([&](fw::Dialog&) { user(); });
        return reader.DoModal();
    }

    void Show(cKelimboProv& prov, const std::vector<ArticleRef>& refs) {
        reader.m_pProv = &prov;
        reader.m_refs = refs;
    }

    static void Click(QWidget* widget) {
        ASSERT_NE(widget, nullptr);
        QTest::mouseClick(widget, Qt::LeftButton);
    }

    testing_support::TempDir dir;
    CLegiloDlg reader{objects, nullptr};
    MessageBoxCapture boxes;
};

TEST_F(ReaderTest, ShowsTheArticlesOfItsReferencesInOrder) {
    struct Case {
        const char* what;
        cKelimboProv* prov;
        std::vector<ArticleRef> refs;
        std::u16string text;
    };
    const Case cases[] = {
        {"Esperanto, x-system letters accented", &eoProv, RefsOf(eoIndex, "sxafo"),
         u"ŝafo\r\nовца\r\n"},
        {"Russian, accent marks dropped", &ruProv, RefsOf(ruIndex, testing_support::Cp1251("соб")),
         u"собака\r\nhundo\r\n"},
        {"two articles of one headword", &eoProv, RefsOf(eoIndex, "longa"),
         reading_dictionary::LongArticleText()},
        {"no references", &eoProv, {}, u""},
        {"no provider", nullptr, RefsOf(eoIndex, "kato"), u""},
    };
    for (const Case& c : cases) {
        reader.m_pProv = c.prov;
        reader.m_refs = c.refs;
        fw::testing::ResetSipRequests();
        std::u16string shown;
        EXPECT_EQ(Read([&] {
                      shown = Article(reader);
                      reader.EndDialog(fw::IDOK);
                  }),
                  fw::IDOK)
            << c.what;
        EXPECT_EQ(shown, c.text) << c.what;
        EXPECT_EQ(fw::testing::LastSipRequest(), fw::SipState::Down) << c.what;
    }
    EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(ReaderTest, TranslateHandsOverTheSelectionTrimmedToItsLetters) {
    struct Case {
        const char* headword; // x-system or UTF-8 Russian
        bool esperanto;
        std::u16string selected; // found in the article; empty: the caret after "hun"
        std::u16string word;
        bool backwards = false;
    };
    const Case cases[] = {
        {"hundo", true, u"\r\nсобака, ", u"собака"},
        {"hundo", true, u" пёс; ", u"пёс"},
        {"hundo", true, u"собака, пёс", u"собака, пёс"},
        {"hundo", true, u"hunda — собачий", u"hunda — собачий"},
        {"hundo", true, u"hundo\r\nсобака", u"hundo\r\nсобака"},
        {"hundo", true, u"; ", u""},
        {"hundo", true, u" — ", u""},
        {"hundo", true, u"", u""},
        {"hundo", true, u" пёс; ", u"пёс", true},
        {"ёж", false, u"ёж", u"ёж"},
        {"ёж", false, u"«ёжик» ", u"ёжик"},
        {"longa", true, u"kato\r\n", u"kato"},
    };
    for (const Case& c : cases) {
        const std::string key = c.esperanto ? c.headword : testing_support::Cp1251(c.headword);
        Show(c.esperanto ? static_cast<cKelimboProv&>(eoProv) : ruProv,
             RefsOf(c.esperanto ? static_cast<cIndex&>(eoIndex) : ruIndex, key));
        wordToTranslate = u"stale";
        int at = -1;
        const std::intptr_t code = Read([&] {
            const std::u16string text = Article(reader);
            const std::size_t found = c.selected.empty() ? 3 : text.rfind(c.selected);
            ASSERT_NE(found, std::u16string::npos) << ToUtf8(c.selected);
            at = static_cast<int>(found);
            const int end = at + static_cast<int>(c.selected.size());
            if (c.backwards) {
                reader.GetEdit(IDC_ARTICLE).SetSel(end, at);
            } else {
                reader.GetEdit(IDC_ARTICLE).SetSel(at, end);
            }
            Click(ControlWidget(reader, IDC_TRANSLATE));
        });
        EXPECT_EQ(code, RESULT_TRANSLATE) << ToUtf8(c.selected);
        EXPECT_EQ(wordToTranslate, c.word) << ToUtf8(c.selected);
        if (std::string(c.headword) == "longa") {
            EXPECT_GT(at, 2047) << "the word lies past the first 2047 units";
        }
    }
}

TEST(SelectedWordTest, PositionsPastTheTextCountAsItsEnd) {
    EXPECT_EQ(SelectedWord(u"kato, ", 0, 100), u"kato");
    EXPECT_EQ(SelectedWord(u"kato", 50, 100), u"");
    EXPECT_EQ(SelectedWord(u"", 0, 0), u"");
}

TEST_F(ReaderTest, EachKeyEndsTheReaderWithItsCode) {
    struct Case {
        const char* what;
        std::function<void(CLegiloDlg&)> press;
        std::intptr_t code;
    };
    const auto key = [](Qt::Key k, Qt::KeyboardModifiers modifiers) {
        return [k, modifiers](CLegiloDlg& d) {
            ASSERT_TRUE(gui_driver::Activate(WindowWidget(d)));
            gui_driver::Key(ControlWidget(d, IDC_ARTICLE), k, modifiers);
        };
    };
    const auto mouse = [](Qt::MouseButton button) {
        return [button](CLegiloDlg& d) {
            auto* article = dynamic_cast<QAbstractScrollArea*>(ControlWidget(d, IDC_ARTICLE));
            QTest::mouseClick(article->viewport(), button);
        };
    };
    const Case cases[] = {
        {"the translate button", [](CLegiloDlg& d) { Click(ControlWidget(d, IDC_TRANSLATE)); },
         RESULT_TRANSLATE},
        {"назад", [](CLegiloDlg& d) { Click(SoftKeyWidget(d, ID_BACK)); }, ID_BACK},
        {"вперёд", [](CLegiloDlg& d) { Click(SoftKeyWidget(d, ID_FORWARD)); }, ID_FORWARD},
        {"Alt+Left", key(Qt::Key_Left, Qt::AltModifier), ID_BACK},
        {"Alt+Right", key(Qt::Key_Right, Qt::AltModifier), ID_FORWARD},
        {"Escape", key(Qt::Key_Escape, Qt::NoModifier), fw::IDCANCEL},
        {"the caption's button", [](CLegiloDlg& d) { WindowWidget(d)->close(); }, fw::IDOK},
        {"Ctrl+T", key(Qt::Key_T, Qt::ControlModifier), RESULT_TRANSLATE},
        {"Enter", key(Qt::Key_Return, Qt::NoModifier), RESULT_TRANSLATE},
        {"Enter of the keypad", key(Qt::Key_Enter, Qt::KeypadModifier), RESULT_TRANSLATE},
        {"Ctrl+W", key(Qt::Key_W, Qt::ControlModifier), fw::IDOK},
        {"Ctrl+Q", key(Qt::Key_Q, Qt::ControlModifier), ID_QUIT},
        {"Ctrl+L", key(Qt::Key_L, Qt::ControlModifier), fw::IDCANCEL},
        {"Ctrl+F", key(Qt::Key_F, Qt::ControlModifier), fw::IDCANCEL},
        {"the mouse's back button", mouse(Qt::BackButton), ID_BACK},
        {"the mouse's forward button", mouse(Qt::ForwardButton), ID_FORWARD},
    };
    for (const Case& c : cases) {
        SetHistory(3, 1); // back and forward both possible
        Show(eoProv, RefsOf(eoIndex, "kato"));
        EXPECT_EQ(Read([&] { c.press(reader); }), c.code) << c.what;
        EXPECT_EQ(theHistory.cursor, 1) << c.what << ": the reader leaves the history alone";
        EXPECT_EQ(theHistory.entries.size(), 3u) << c.what;
    }
    // The button names its key and keeps its text.
    Read([&] {
        QWidget* button = ControlWidget(reader, IDC_TRANSLATE);
        EXPECT_EQ(button->toolTip(),
                  QKeySequence(QStringLiteral("Ctrl+T")).toString(QKeySequence::NativeText));
        EXPECT_EQ(reader.GetDlgItem(IDC_TRANSLATE).GetWindowText(), u"Перевести выделенное -->");
        reader.EndDialog(fw::IDOK);
    });
}

TEST_F(ReaderTest, TheKeyboardStartsInTheArticle) {
    Show(eoProv, RefsOf(eoIndex, "kato"));
    Read([&] {
        ASSERT_TRUE(gui_driver::Activate(WindowWidget(reader)));
        EXPECT_TRUE(reader.GetDlgItem(IDC_ARTICLE).HasFocus());
        // Shift+End selects from the caret: the first line, then the button takes it.
        gui_driver::Key(ControlWidget(reader, IDC_ARTICLE), Qt::Key_End, Qt::ShiftModifier);
        gui_driver::Key(ControlWidget(reader, IDC_ARTICLE), Qt::Key_Tab);
        EXPECT_TRUE(reader.GetDlgItem(IDC_TRANSLATE).HasFocus());
        gui_driver::Key(ControlWidget(reader, IDC_TRANSLATE), Qt::Key_Return);
    });
    EXPECT_EQ(wordToTranslate, u"kato");
}

TEST_F(ReaderTest, TheSoftKeysFollowTheHistoryInTheConventionOfTheWindowInFront) {
    struct Case {
        int entries;
        int cursor;
        bool searchView;
        std::uint16_t menu;
    };
    const Case cases[] = {
        {0, 0, false, window_probe::kNoKeys}, {0, 0, true, window_probe::kNoKeys},
        {1, 0, false, window_probe::kNoKeys}, {1, 0, true, IDR_MENU_FORWARD},
        {1, 1, true, IDR_MENU_BACK},          {2, 1, true, IDR_MENU_BACK_FORWARD},
        {2, 0, false, IDR_MENU_FORWARD},      {2, 1, false, IDR_MENU_BACK},
        {3, 1, false, IDR_MENU_BACK_FORWARD}, {3, 2, false, IDR_MENU_BACK},
    };
    for (const Case& c : cases) {
        SetHistory(c.entries, c.cursor, c.searchView);
        std::vector<fw::SoftKey> keys;
        Read([&] {
            keys = fw::SoftKeys(reader);
            reader.EndDialog(fw::IDOK);
        });
        EXPECT_EQ(keys, MenuKeys(c.menu))
            << c.entries << " entries, cursor " << c.cursor << (c.searchView ? ", search" : "");
    }
    // The greyed "назад " of menu 133 is shown but cannot be pressed, by key or by Alt+Left.
    SetHistory(2, 0);
    Show(eoProv, RefsOf(eoIndex, "kato"));
    EXPECT_EQ(Read([&] {
                  ASSERT_TRUE(gui_driver::Activate(WindowWidget(reader)));
                  gui_driver::Key(ControlWidget(reader, IDC_ARTICLE), Qt::Key_Left,
                                  Qt::AltModifier);
                  Click(SoftKeyWidget(reader, ID_BACK));
                  EXPECT_TRUE(reader.HasWindow());
                  reader.EndDialog(fw::IDOK);
              }),
              fw::IDOK);
}

TEST_F(ReaderTest, AnUnreadableDictionaryIsShownInTheReadersBoxThenAnEmptyArticle) {
    std::filesystem::remove(dir.File("EoRu_kelimbo.txt"));
    eoProv.Load(dir.AnsiPath("EoRu_kelimbo.txt"), eoIndex); // loaded without its text
    SetHistory(2, 0);                                       // "вперёд" offered
    Show(eoProv, RefsOf(eoIndex, "hundo"));
    std::u16string shown = u"unset";
    const std::intptr_t code = Read([&] {
        shown = Article(reader);
        EXPECT_EQ(fw::SoftKeys(reader), MenuKeys(IDR_MENU_FORWARD));
        Click(SoftKeyWidget(reader, ID_FORWARD));
    });
    ASSERT_EQ(boxes.Calls().size(), 1u);
    const fw::testing::MessageBoxCall& box = boxes.Calls()[0];
    EXPECT_EQ(box.owner, &reader);
    EXPECT_EQ(box.caption, u"Ошибка");
    EXPECT_EQ(box.icon, fw::MessageBoxIcon::Error);
    EXPECT_EQ(box.text, u"Ошибка при открытии файла словаря:\n" +
                            FromUtf8((dir.Path() / "EoRu_kelimbo.txt").string()));
    EXPECT_EQ(shown, u"");
    EXPECT_EQ(code, ID_FORWARD) << "the keys still work";

    // The button too, with nothing to select.
    EXPECT_EQ(Read([&] { Click(ControlWidget(reader, IDC_TRANSLATE)); }), RESULT_TRANSLATE);
    EXPECT_EQ(wordToTranslate, u"");
    EXPECT_EQ(boxes.Calls().size(), 2u) << "each run tries the file again";
}

} // namespace

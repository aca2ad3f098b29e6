// SPDX-License-Identifier: GPL-2.0-or-later
// The search window with real widgets: x-system typing converted in place, the
// language rule picking the dictionary, the list of at most 50 headwords, and
// the layout on tall and wide screens.
#include "framework/input_panel.h"
#include "framework/test_hooks.h"
#include "lookup/query_rules.h"
#include "platform/code_page.h"
#include "support/dictionary_fixture.h"
#include "support/gui_driver.h"
#include "text/index_key.h"
#include "ui/fulltext_results.h"
#include "ui/kelimbo_dlg.h"
#include "ui/resource_ids.h"

#include <QLineEdit>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

using fw::testing::ControlWidget;
using fw::testing::ScopedModalRun;
using platform::ToUtf8;

class KelimboDlgTest : public ::testing::Test, protected dictionary_fixture::WithProgramObjects {
protected:
    void SetUp() override {
        dictionary_fixture::WriteDataFiles(dir);
        dictionary_fixture::LoadIndexes(objects, dir);
    }

    // Runs the window once with `user` at the keyboard, then closes it.
    void WithWindow(const std::function<void(CKelimboDlg&)>& user) {
        CKelimboDlg dlg(objects);
        ScopedModalRun run([&](fw::Dialog&) {
            user(dlg);
            dlg.EndDialog(fw::IDOK);
        });
        EXPECT_EQ(dlg.DoModal(), fw::IDOK);
    }

    static QLineEdit* Box(CKelimboDlg& dlg) {
        return dynamic_cast<QLineEdit*>(ControlWidget(dlg, IDC_SEARCH));
    }
    static std::u16string BoxText(CKelimboDlg& dlg) {
        return dlg.GetEdit(IDC_SEARCH).GetWindowText();
    }
    static std::vector<std::u16string> Lines(CKelimboDlg& dlg) {
        std::vector<std::u16string> lines;
        for (int i = 0; i < dlg.m_list.GetCount(); ++i) {
            lines.push_back(dlg.m_list.GetText(i));
        }
        return lines;
    }

    testing_support::TempDir dir;
};

TEST_F(KelimboDlgTest, StartsWithFocusInTheEmptyBoxAndTheInputPanelUp) {
    fw::testing::ResetSipRequests();
    WithWindow([](CKelimboDlg& dlg) {
        ASSERT_TRUE(gui_driver::Activate(Box(dlg)));
        EXPECT_TRUE(dlg.GetDlgItem(IDC_SEARCH).HasFocus());
        EXPECT_EQ(BoxText(dlg), u"");
        EXPECT_EQ(dlg.m_list.GetCount(), 0);
        EXPECT_FALSE(fw::testing::WindowWidget(dlg)->windowIcon().isNull());
        EXPECT_EQ(fw::testing::LastSipRequest(), fw::SipState::Up);
        EXPECT_TRUE(dlg.Listed().query.empty());
        EXPECT_EQ(dlg.Listed().LineCount(), 0u);
    });
}

TEST_F(KelimboDlgTest, TypingTurnsXSystemPairsIntoLettersWithTheCaretAfterThem) {
    struct Case {
        std::u16string typed;
        std::u16string box;
        int caret;
    };
    const Case cases[] = {
        {u"s", u"s", 1},    {u"sx", u"ŝ", 1},  {u"CX", u"Ĉ", 1},  {u"Cx", u"Ĉ", 1},
        {u"sxa", u"ŝa", 2}, {u"ux", u"ŭ", 1},  {u"xx", u"xx", 2}, {u"gxojx", u"ĝoĵ", 3},
        {u"ŝx", u"ŝx", 2},  {u"ЖX", u"ЖX", 2},
    };
    for (const Case& c : cases) {
        WithWindow([&](CKelimboDlg& dlg) {
            gui_driver::Type(Box(dlg), c.typed);
            EXPECT_EQ(BoxText(dlg), c.box) << ToUtf8(c.typed);
            EXPECT_EQ(Box(dlg)->cursorPosition(), c.caret) << ToUtf8(c.typed);
            EXPECT_FALSE(Box(dlg)->hasSelectedText()) << ToUtf8(c.typed);
            EXPECT_FALSE(dlg.m_updating);
        });
    }
}

TEST_F(KelimboDlgTest, XTypedInsideTheWordJoinsTheLetterBeforeIt) {
    WithWindow([](CKelimboDlg& dlg) {
        gui_driver::Type(Box(dlg), u"safo");
        Box(dlg)->setCursorPosition(1);
        gui_driver::Type(Box(dlg), u"x");
        EXPECT_EQ(BoxText(dlg), u"ŝafo");
        EXPECT_EQ(Box(dlg)->cursorPosition(), 1);
        EXPECT_EQ(Lines(dlg), (std::vector<std::u16string>{u"ŝafo"}));
    });
}

TEST_F(KelimboDlgTest, ASelectionIsKeptThroughTheConversion) {
    WithWindow([](CKelimboDlg& dlg) {
        const fw::Edit box = dlg.GetEdit(IDC_SEARCH);
        // Text and selection put in place quietly, then the change arrives.
        dlg.m_updating = true;
        box.SetWindowText(u"sxabcx");
        box.SetSel(4, 2); // "ab", the caret before it
        dlg.m_updating = false;
        dlg.SendMessage(fw::Msg::EditChange, IDC_SEARCH);
        EXPECT_EQ(BoxText(dlg), u"ŝabĉ");
        EXPECT_EQ(box.GetSel(), (fw::Selection{1, 3}));
        EXPECT_EQ(Box(dlg)->selectedText(), QStringLiteral("ab"));
    });
}

TEST_F(KelimboDlgTest, TheQuerysLanguagePicksTheDictionary) {
    struct Case {
        std::u16string typed;
        bool esperanto;
        std::vector<std::u16string> lines;
    };
    const Case cases[] = {
        {u"123", false, {u"123"}},  {u"1a", true, {u"1a"}},
        {u"«У", false, {u"«Ура»"}}, {u"cx", true, {u"ĉapelo", u"Ĉinio"}},
        {u"ёж", false, {u"ёж"}},    {u"ab", true, {u"ab", u"abc"}},
        {u" ", false, {}},
    };
    for (const Case& c : cases) {
        WithWindow([&](CKelimboDlg& dlg) {
            gui_driver::Type(Box(dlg), c.typed);
            EXPECT_EQ(dlg.Listed().esperanto, c.esperanto) << ToUtf8(c.typed);
            EXPECT_EQ(dlg.Listed().LineCount(), c.lines.size()) << ToUtf8(c.typed);
            EXPECT_EQ(Lines(dlg), c.lines) << ToUtf8(c.typed);
        });
    }
}

TEST_F(KelimboDlgTest, TheListShowsAtMostFiftyHeadwordsFromTheFirstMatch) {
    WithWindow([&](CKelimboDlg& dlg) {
        gui_driver::Type(Box(dlg), u"аба");
        const std::vector<std::u16string> lines = Lines(dlg);
        ASSERT_EQ(lines.size(), std::size_t{MAX_LIST_LINES}) << "62 headwords begin with аба";
        EXPECT_EQ(lines.front(), u"аба000");
        EXPECT_EQ(lines.back(), u"аба049");
        // Line k is the core's line k.
        EXPECT_EQ(objects.lookup.Headword(dlg.Listed(), 0), u"аба000");
        EXPECT_EQ(objects.lookup.Headword(dlg.Listed(), 49), u"аба049");

        gui_driver::Type(Box(dlg), u"ж");
        EXPECT_EQ(Lines(dlg), (std::vector<std::u16string>{u"абажур"}));
        EXPECT_EQ(objects.lookup.Headword(dlg.Listed(), 0), u"абажур");

        gui_driver::Type(Box(dlg), u"я");
        EXPECT_EQ(Lines(dlg), std::vector{FullTextOfferLine(u"абажя")})
            << "no headword begins with абажя: the search in the articles is offered";
        EXPECT_EQ(dlg.Listed().LineCount(), 0u);
    });
}

TEST_F(KelimboDlgTest, EmptyingTheBoxEmptiesTheListAndKeepsTheDictionary) {
    WithWindow([&](CKelimboDlg& dlg) {
        gui_driver::Type(Box(dlg), u"sxa");
        ASSERT_TRUE(dlg.Listed().esperanto);
        ASSERT_EQ(Lines(dlg).size(), 2u);
        gui_driver::Key(Box(dlg), Qt::Key_Backspace);
        gui_driver::Key(Box(dlg), Qt::Key_Backspace);
        EXPECT_EQ(BoxText(dlg), u"");
        EXPECT_TRUE(Lines(dlg).empty());
        EXPECT_TRUE(dlg.Listed().esperanto) << "the history records the last direction";
        EXPECT_EQ(dlg.Listed().LineCount(), 0u);
    });
}

TEST_F(KelimboDlgTest, SettingTheBoxConvertsAndFillsBeforeTheCallReturns) {
    WithWindow([](CKelimboDlg& dlg) {
        dlg.GetEdit(IDC_SEARCH).SetWindowText(u"Cxi");
        EXPECT_EQ(BoxText(dlg), u"Ĉi");
        EXPECT_EQ(Lines(dlg), (std::vector<std::u16string>{u"Ĉinio"}));
        // The same text again still runs the whole handler.
        dlg.m_list.ResetContent();
        dlg.GetEdit(IDC_SEARCH).SetWindowText(u"Ĉi");
        EXPECT_EQ(Lines(dlg), (std::vector<std::u16string>{u"Ĉinio"}));
    });
}

TEST_F(KelimboDlgTest, TheBoxHoldsAtMost255Units) {
    WithWindow([](CKelimboDlg& dlg) {
        dlg.GetEdit(IDC_SEARCH).SetWindowText(std::u16string(300, u'a'));
        EXPECT_EQ(BoxText(dlg), std::u16string(255, u'a'));
        EXPECT_EQ(dlg.GetQuery(), std::string(255, 'a'));
    });
}

TEST_F(KelimboDlgTest, TallScreensPutTheControlsBackOnTheirRectanglesWideOnesMoveNothing) {
    fw::testing::ScopedScreenSize screen(480, 640);
    WithWindow([&](CKelimboDlg& dlg) {
        const fw::Control box = dlg.GetDlgItem(IDC_SEARCH);
        const fw::Control list = dlg.GetDlgItem(IDC_LIST);
        fw::Rect boxRect{3, 1, 151, 14};
        fw::Rect listRect{3, 19, 151, 118};
        ASSERT_TRUE(dlg.MapDialogRect(boxRect));
        ASSERT_TRUE(dlg.MapDialogRect(listRect));
        EXPECT_EQ(box.GetRect(), boxRect);
        EXPECT_EQ(list.GetRect(), listRect);

        gui_driver::Type(Box(dlg), u"аба");
        dlg.m_list.SetCurSel(2);
        const fw::Rect elsewhere{10, 10, 60, 30};
        box.MoveWindow(elsewhere);
        list.MoveWindow(elsewhere);

        screen.Set(800, 480); // turned wide
        EXPECT_EQ(box.GetRect(), elsewhere);
        EXPECT_EQ(list.GetRect(), elsewhere);

        screen.Set(480, 800); // and tall again
        EXPECT_EQ(box.GetRect(), boxRect);
        EXPECT_EQ(list.GetRect(), listRect);
        EXPECT_EQ(dlg.m_list.GetCurSel(), 2);
        EXPECT_EQ(BoxText(dlg), u"аба");
    });
}

} // namespace

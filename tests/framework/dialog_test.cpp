// SPDX-License-Identifier: GPL-2.0-or-later
// Modal runs: the window made anew from its template, OnInitDialog, the end
// codes, nested runs, exceptions leaving a run, and message boxes.
#include "framework/dialog.h"
#include "framework/dialog_units.h"
#include "framework/message_box.h"
#include "framework/soft_key_bar.h"
#include "framework/test_hooks.h"
#include "support/gui_driver.h"
#include "test_dialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using fw::testing::ControlWidget;
using fw::testing::ScopedModalRun;
using fw::testing::WindowWidget;
using test_dialog::TestDialog;

TEST(DialogTest, OpensAtTheTemplatesSizeWithControlsOnTheirRectanglesAndMayGrow) {
    TestDialog dlg;
    ScopedModalRun run([](fw::Dialog& d) {
        QWidget* window = WindowWidget(d);
        ASSERT_NE(window, nullptr);
        const fw::detail::DialogBaseUnits base = fw::detail::BaseUnitsOf(window->font());
        const fw::Rect client = fw::detail::MapDialogRect({0, 0, 108, 144}, base);
        EXPECT_EQ(window->width(), client.Width());
        EXPECT_EQ(window->height(), client.Height() + fw::detail::SoftKeyBar::PreferredHeight());
        EXPECT_EQ(window->minimumSize(), window->size()) << "never smaller than its template";
        EXPECT_GT(window->maximumWidth(), window->width()) << "resizable";
        EXPECT_EQ(window->windowTitle(), QString::fromUtf8("Тест"));

        fw::Rect list{4, 64, 104, 124};
        ASSERT_TRUE(d.MapDialogRect(list));
        EXPECT_EQ(d.GetDlgItem(test_dialog::kList).GetRect(), list);
        EXPECT_EQ(d.GetDlgItem(test_dialog::kStatic).GetWindowText(), u"ĉĝĥĵŝŭ");
        d.EndDialog(5);
    });
    EXPECT_EQ(dlg.DoModal(), 5);
    EXPECT_FALSE(dlg.HasWindow());
    EXPECT_FALSE(dlg.m_list.IsValid()) << "no window, no control";
}

TEST(DialogTest, EachRunCreatesTheWindowAnewAndCallsOnInitDialog) {
    TestDialog dlg;
    int runs = 0;
    ScopedModalRun run([&](fw::Dialog& d) {
        ++runs;
        const fw::Control edit = d.GetDlgItem(test_dialog::kEdit);
        EXPECT_EQ(edit.GetWindowText(), u"") << "run " << runs << " starts from the template";
        edit.SetWindowText(u"left over");
        dlg.m_list.AddString(u"line");
        d.EndDialog(runs);
    });
    EXPECT_EQ(dlg.DoModal(), 1);
    EXPECT_EQ(dlg.DoModal(), 2);
    EXPECT_EQ(dlg.inits, 2);
}

TEST(DialogTest, FocusGoesToTheFirstTabStopWhenOnInitDialogAsksForIt) {
    TestDialog dlg;
    ScopedModalRun run([](fw::Dialog& d) {
        ASSERT_TRUE(gui_driver::Activate(WindowWidget(d)));
        EXPECT_TRUE(d.GetDlgItem(test_dialog::kEdit).HasFocus());
        d.EndDialog(fw::IDOK);
    });
    dlg.DoModal();
}

TEST(DialogTest, EndCodesOfTheCaptionButtonEscapeAndEnter) {
    struct Case {
        const char* what;
        std::function<void(fw::Dialog&)> act;
        std::intptr_t code;
    };
    const Case cases[] = {
        {"caption button", [](fw::Dialog& d) { WindowWidget(d)->close(); }, fw::IDOK},
        {"Escape",
         [](fw::Dialog& d) {
             gui_driver::Key(ControlWidget(d, test_dialog::kEdit), Qt::Key_Escape);
         },
         fw::IDCANCEL},
        {"Enter in the edit box ends nothing",
         [](fw::Dialog& d) {
             gui_driver::Key(ControlWidget(d, test_dialog::kEdit), Qt::Key_Return);
         },
         -1},
        {"Enter on a focused button presses it",
         [](fw::Dialog& d) {
             auto& dlg = static_cast<TestDialog&>(d);
             dlg.then = [](TestDialog& self, const test_dialog::Note&) { self.EndDialog(9); };
             QWidget* button = ControlWidget(d, test_dialog::kButton);
             ASSERT_TRUE(gui_driver::Activate(button));
             button->setFocus();
             gui_driver::Key(button, Qt::Key_Return);
         },
         9},
    };
    for (const Case& c : cases) {
        TestDialog dlg;
        ScopedModalRun run([&](fw::Dialog& d) { c.act(d); });
        EXPECT_EQ(dlg.DoModal(), c.code) << c.what;
    }
}

TEST(DialogTest, CommandMapRoutesByKindAndId) {
    TestDialog dlg;
    ScopedModalRun run([](fw::Dialog& d) {
        QTest::mouseClick(ControlWidget(d, test_dialog::kButton), Qt::LeftButton);
        d.SendMessage(fw::Msg::Command, test_dialog::kCommand);
        d.SendMessage(fw::Msg::Command, 4242);                     // in no map: nothing
        d.SendMessage(fw::Msg::ListSelChange, test_dialog::kEdit); // wrong kind for the id
        d.EndDialog(fw::IDOK);
    });
    dlg.DoModal();
    std::vector<std::pair<fw::Msg, int>> seen;
    for (const auto& note : dlg.notes) {
        if (note.msg != fw::Msg::Size) {
            seen.emplace_back(note.msg, note.id);
        }
    }
    const std::vector<std::pair<fw::Msg, int>> expected = {
        {fw::Msg::Command, test_dialog::kButton}, {fw::Msg::Command, test_dialog::kCommand}};
    EXPECT_EQ(seen, expected);
}

TEST(DialogTest, NestedModalRunsReturnTheirOwnCodes) {
    TestDialog outer;
    TestDialog inner(test_dialog::kSmallTemplate, &outer);
    std::vector<std::intptr_t> innerCodes;
    outer.then = [&](TestDialog& self, const test_dialog::Note& note) {
        if (note.msg == fw::Msg::Command && note.id == test_dialog::kButton) {
            innerCodes.push_back(inner.DoModal());
            innerCodes.push_back(inner.DoModal());
            self.EndDialog(3);
        }
    };
    int innerRuns = 0;
    ScopedModalRun run([&](fw::Dialog& d) {
        if (&d == &outer) {
            QTest::mouseClick(ControlWidget(d, test_dialog::kButton), Qt::LeftButton);
            return;
        }
        EXPECT_TRUE(outer.HasWindow()) << "the outer window lives on";
        EXPECT_EQ(WindowWidget(d)->parentWidget(), WindowWidget(outer));
        d.EndDialog(++innerRuns == 1 ? 12 : fw::IDOK);
    });
    EXPECT_EQ(outer.DoModal(), 3);
    EXPECT_EQ(innerCodes, (std::vector<std::intptr_t>{12, fw::IDOK}));
}

TEST(DialogTest, TheOwnerIsActiveAgainWhenANestedRunEnds) {
    TestDialog outer;
    TestDialog inner(test_dialog::kSmallTemplate, &outer);
    QWidget* activeAfterInner = nullptr;
    QWidget* outerWindow = nullptr;
    outer.then = [&](TestDialog& self, const test_dialog::Note& note) {
        if (note.msg == fw::Msg::Command && note.id == test_dialog::kButton) {
            outerWindow = WindowWidget(self);
            inner.DoModal();
            QCoreApplication::processEvents();
            activeAfterInner = QApplication::activeWindow();
            self.EndDialog(fw::IDOK);
        }
    };
    ScopedModalRun run([&](fw::Dialog& d) {
        if (&d == &outer) {
            QTest::mouseClick(ControlWidget(d, test_dialog::kButton), Qt::LeftButton);
            return;
        }
        EXPECT_EQ(QApplication::activeWindow(), WindowWidget(d));
        d.EndDialog(fw::IDOK);
    });
    outer.DoModal();
    ASSERT_NE(outerWindow, nullptr);
    EXPECT_EQ(activeAfterInner, outerWindow);
}

TEST(DialogTest, AnExceptionFromAHandlerEndsTheRunsAndLeavesDoModal) {
    TestDialog outer;
    TestDialog inner(test_dialog::kSmallTemplate, &outer);
    outer.then = [&](TestDialog&, const test_dialog::Note& note) {
        if (note.msg == fw::Msg::Command) {
            inner.DoModal();
        }
    };
    inner.then = [](TestDialog&, const test_dialog::Note& note) {
        if (note.msg == fw::Msg::Command) {
            throw std::runtime_error("from the inner handler");
        }
    };
    bool outerGoesOn = false;
    ScopedModalRun run([&](fw::Dialog& d) {
        QTest::mouseClick(ControlWidget(d, test_dialog::kButton), Qt::LeftButton);
        if (&d == &outer) {
            outerGoesOn = outer.HasWindow() && WindowWidget(outer)->isVisible();
        }
    });
    EXPECT_THROW(
        {
            try {
                outer.DoModal();
            } catch (const std::runtime_error& e) {
                EXPECT_STREQ(e.what(), "from the inner handler");
                throw;
            }
        },
        std::runtime_error);
    EXPECT_FALSE(outerGoesOn) << "the outer run ended with the exception";
    EXPECT_FALSE(outer.HasWindow());
}

TEST(DialogTest, AnExceptionFromOnInitDialogLeavesDoModal) {
    TestDialog dlg;
    dlg.onInit = [](TestDialog&) { throw std::runtime_error("init"); };
    bool ran = false;
    ScopedModalRun run([&](fw::Dialog&) { ran = true; });
    EXPECT_THROW(dlg.DoModal(), std::runtime_error);
    EXPECT_FALSE(ran);
    EXPECT_FALSE(dlg.HasWindow());
}

TEST(DialogTest, EndDialogInsideOnInitDialogSkipsTheRun) {
    TestDialog dlg;
    dlg.onInit = [](TestDialog& self) { self.EndDialog(44); };
    bool ran = false;
    ScopedModalRun run([&](fw::Dialog&) { ran = true; });
    EXPECT_EQ(dlg.DoModal(), 44);
    EXPECT_FALSE(ran);
}

TEST(DialogTest, MissingTemplateOrUnendedRunGivesMinusOne) {
    TestDialog missing(999);
    ScopedModalRun run([](fw::Dialog&) {});
    EXPECT_EQ(missing.DoModal(), -1);
    TestDialog open;
    EXPECT_EQ(open.DoModal(), -1);
}

TEST(DialogTest, MessageBoxesAreCapturedWithOwnerTextCaptionAndIcon) {
    TestDialog dlg;
    fw::testing::MessageBoxCapture boxes;
    ScopedModalRun run([](fw::Dialog& d) {
        EXPECT_EQ(fw::MessageBox(&d, u"Ошибка при открытии файла словаря:\n/x", u"Ошибка",
                                 fw::MessageBoxIcon::Error),
                  fw::IDOK);
        d.EndDialog(fw::IDOK);
    });
    dlg.DoModal();
    fw::MessageBox(nullptr, u"без владельца", u"Ошибка", fw::MessageBoxIcon::Error);
    ASSERT_EQ(boxes.Calls().size(), 2u);
    EXPECT_EQ(boxes.Calls()[0].owner, &dlg);
    EXPECT_EQ(boxes.Calls()[0].text, u"Ошибка при открытии файла словаря:\n/x");
    EXPECT_EQ(boxes.Calls()[0].caption, u"Ошибка");
    EXPECT_EQ(boxes.Calls()[0].icon, fw::MessageBoxIcon::Error);
    EXPECT_EQ(boxes.Calls()[1].owner, nullptr);
}

TEST(DialogTest, ScreenSizeChangesReachLiveDialogsAsSizeNotifications) {
    TestDialog dlg;
    fw::testing::ScopedScreenSize screen(480, 640);
    ScopedModalRun run([&](fw::Dialog& d) {
        const auto sizes = [&] {
            return std::count_if(dlg.notes.begin(), dlg.notes.end(),
                                 [](const auto& n) { return n.msg == fw::Msg::Size; });
        };
        const auto before = sizes();
        screen.Set(640, 480);
        EXPECT_EQ(sizes(), before + 1);
        EXPECT_EQ(d.GetScreenSize().cx, 640);
        EXPECT_EQ(d.GetScreenSize().cy, 480);
        d.EndDialog(fw::IDOK);
    });
    dlg.DoModal();
}

} // namespace

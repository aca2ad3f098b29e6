// SPDX-License-Identifier: GPL-2.0-or-later
// Controls by id and the notifications that the windows rely on: setting an
// edit box's text always notifies, synchronously; a list box notifies only the
// user's own choices, a click or Enter, never a moving key.
#include "framework/control_widgets.h"
#include "framework/controls.h"
#include "framework/qt_text.h"
#include "framework/test_hooks.h"
#include "support/gui_driver.h"
#include "test_dialog.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextCursor>
#include <QTextLayout>

#include <gtest/gtest.h>

namespace {

using fw::testing::ControlWidget;
using fw::testing::ScopedModalRun;
using test_dialog::Note;
using test_dialog::TestDialog;

// Runs the test dialog once with `body` as the user, then ends it.
void WithDialog(TestDialog& dlg, const std::function<void(TestDialog&)>& body) {
    ScopedModalRun run([&](fw::Dialog&) {
        dlg.notes.clear();
        body(dlg);
        dlg.EndDialog(fw::IDOK);
    });
    dlg.DoModal();
}

std::vector<Note> Only(const std::vector<Note>& notes, fw::Msg msg) {
    std::vector<Note> out;
    std::copy_if(notes.begin(), notes.end(), std::back_inserter(out),
                 [&](const Note& n) { return n.msg == msg; });
    return out;
}

TEST(EditTest, SettingTheTextAlwaysNotifiesInsideTheCall) {
    TestDialog dlg;
    WithDialog(dlg, [](TestDialog& d) {
        const fw::Edit edit = d.GetEdit(test_dialog::kEdit);
        for (const std::u16string_view text : {u"abc", u"abc", u"", u""}) {
            const std::size_t before = d.notes.size();
            edit.SetWindowText(text);
            ASSERT_EQ(d.notes.size(), before + 1)
                << "setting \"" << fw::detail::ToQString(text).toStdString() << "\"";
            EXPECT_EQ(d.notes.back().text, text) << "the new text is in place when it notifies";
        }
    });
}

TEST(EditTest, TheUsersTypingNotifiesEachChange) {
    TestDialog dlg;
    WithDialog(dlg, [](TestDialog& d) {
        QWidget* edit = ControlWidget(d, test_dialog::kEdit);
        gui_driver::Type(edit, u"ŝa");
        gui_driver::Key(edit, Qt::Key_Backspace);
        const std::vector<Note> notes = Only(d.notes, fw::Msg::EditChange);
        ASSERT_EQ(notes.size(), 3u);
        EXPECT_EQ(notes[0].text, u"ŝ");
        EXPECT_EQ(notes[1].text, u"ŝa");
        EXPECT_EQ(notes[2].text, u"ŝ");
    });
}

TEST(EditTest, SettingTheTextFromInsideItsOwnNotificationIsSafe) {
    TestDialog dlg;
    bool inside = false;
    dlg.then = [&](TestDialog& d, const Note& note) {
        if (note.msg == fw::Msg::EditChange && !inside && note.text == u"ab") {
            inside = true;
            d.GetEdit(test_dialog::kEdit).SetWindowText(u"AB");
            d.GetEdit(test_dialog::kEdit).SetSel(1, 1);
            inside = false;
        }
    };
    WithDialog(dlg, [](TestDialog& d) {
        QWidget* edit = ControlWidget(d, test_dialog::kEdit);
        gui_driver::Type(edit, u"ab");
        gui_driver::Type(edit, u"c");
        EXPECT_EQ(d.GetEdit(test_dialog::kEdit).GetWindowText(), u"AcB");
    });
}

TEST(EditTest, SelectionIsOrderedAndTheCaretEndsAtTheGivenEnd) {
    TestDialog dlg;
    WithDialog(dlg, [](TestDialog& d) {
        const fw::Edit edit = d.GetEdit(test_dialog::kEdit);
        auto* line = dynamic_cast<QLineEdit*>(ControlWidget(d, test_dialog::kEdit));
        edit.SetWindowText(u"abcdef");
        struct Case {
            int start, end;
            fw::Selection expected;
            int caret;
        };
        const Case cases[] = {
            {1, 4, {1, 4}, 4}, {4, 1, {1, 4}, 1},  {0, -1, {0, 6}, 6},
            {2, 2, {2, 2}, 2}, {3, 99, {3, 6}, 6},
        };
        for (const Case& c : cases) {
            edit.SetSel(c.start, c.end);
            EXPECT_EQ(edit.GetSel(), c.expected) << c.start << "," << c.end;
            EXPECT_EQ(line->cursorPosition(), c.caret) << c.start << "," << c.end;
        }
        edit.SetSel(1, 4);
        edit.SetSel(-1, 0);
        EXPECT_EQ(edit.GetSel(), (fw::Selection{4, 4})) << "-1 removes the selection";

        // A selection the user makes backwards still reads start <= end.
        line->setCursorPosition(5);
        gui_driver::Key(line, Qt::Key_Left, Qt::ShiftModifier);
        gui_driver::Key(line, Qt::Key_Left, Qt::ShiftModifier);
        EXPECT_EQ(edit.GetSel(), (fw::Selection{3, 5}));
    });
}

TEST(TextBoxTest, PositionsCountCrLfAsTwoUnits) {
    TestDialog dlg;
    WithDialog(dlg, [](TestDialog& d) {
        const fw::Edit box = d.GetEdit(test_dialog::kTextBox);
        auto* view = dynamic_cast<QPlainTextEdit*>(ControlWidget(d, test_dialog::kTextBox));
        const std::u16string text = u"ab\r\ncd\r\n\r\nef";
        const std::size_t before = d.notes.size();
        box.SetWindowText(text);
        EXPECT_EQ(d.notes.size(), before) << "a multi-line box does not notify its setting";
        EXPECT_EQ(box.GetWindowText(), text);
        EXPECT_EQ(view->toPlainText(), QStringLiteral("ab\ncd\n\nef"));

        struct Case {
            int start, end;
            const char* shown;
        };
        const Case cases[] = {
            {4, 6, "cd"}, {0, 12, "ab\ncd\n\nef"}, {10, 12, "ef"}, {1, 5, "b\nc"}};
        for (const Case& c : cases) {
            box.SetSel(c.start, c.end);
            EXPECT_EQ(view->textCursor().selectedText().replace(QChar::ParagraphSeparator, '\n'),
                      QString::fromUtf8(c.shown));
            EXPECT_EQ(box.GetSel(), (fw::Selection{c.start, c.end}));
        }
        // The user's selection of "ef" reads back in the text's units.
        QTextCursor cursor = view->textCursor();
        cursor.setPosition(7);
        cursor.setPosition(9, QTextCursor::KeepAnchor);
        view->setTextCursor(cursor);
        EXPECT_EQ(box.GetSel(), (fw::Selection{10, 12}));
        EXPECT_TRUE(view->isReadOnly());
    });
}

TEST(ListBoxTest, LinesAndSelectionByCode) {
    TestDialog dlg;
    WithDialog(dlg, [](TestDialog& d) {
        const fw::ListBox& list = d.m_list;
        EXPECT_EQ(list.GetCurSel(), fw::LB_ERR);
        EXPECT_EQ(list.AddString(u"ĉapelo"), 0);
        EXPECT_EQ(list.AddString(u"ёж"), 1);
        EXPECT_EQ(list.GetCount(), 2);
        EXPECT_EQ(list.GetText(1), u"ёж");
        EXPECT_TRUE(list.SetCurSel(1));
        EXPECT_EQ(list.GetCurSel(), 1);
        EXPECT_FALSE(list.SetCurSel(fw::LB_ERR));
        EXPECT_EQ(list.GetCurSel(), fw::LB_ERR);
        list.ResetContent();
        EXPECT_EQ(list.GetCount(), 0);
    });
}

// A marked line keeps its text and is told apart from a plain one by how it
// is drawn alone, under a light and a dark palette and at another zoom.
TEST(ListBoxTest, MarkedLinesLookApartAndKeepTheirText) {
    TestDialog dlg;
    WithDialog(dlg, [](TestDialog& d) {
        const fw::ListBox& list = d.m_list;
        auto* view = dynamic_cast<QListWidget*>(ControlWidget(d, test_dialog::kList));
        ASSERT_NE(view, nullptr);
        const auto row = [&](int k) {
            return view->viewport()->grab(view->visualItemRect(view->item(k))).toImage();
        };
        QPalette dark = view->palette();
        dark.setColor(QPalette::Base, Qt::black);
        dark.setColor(QPalette::Text, Qt::white);
        struct Case {
            const char* name;
            QPalette palette;
            int zoom;
        };
        for (const Case& c : {Case{"light", view->palette(), 100}, Case{"dark", dark, 100},
                              Case{"dark, zoomed", dark, 200}}) {
            SCOPED_TRACE(c.name);
            view->setPalette(c.palette);
            d.SetTextZoom(c.zoom);
            list.ResetContent();
            EXPECT_EQ(list.AddString(u"hundo"), 0);
            EXPECT_EQ(list.AddMarkedString(u"hundo", u"the hint"), 1);
            EXPECT_EQ(list.AddString(u"hundo"), 2);
            EXPECT_EQ(list.AddMarkedString(u"hundo", u"the hint"), 3);
            EXPECT_EQ(list.GetText(1), u"hundo");
            EXPECT_EQ(list.GetHint(1), u"the hint");
            EXPECT_EQ(list.GetHint(0), u"");
            EXPECT_EQ(list.GetHint(4), u"");
            EXPECT_EQ(row(0), row(2)) << "two plain lines look alike";
            EXPECT_EQ(row(1), row(3)) << "two marked lines look alike";
            EXPECT_NE(row(0), row(1)) << "a marked line looks apart";
            const QImage marked = row(1);
            bool inked = false;
            for (int y = 0; y < marked.height() && !inked; ++y) {
                for (int x = 0; x < marked.width() && !inked; ++x) {
                    inked = marked.pixel(x, y) != marked.pixel(0, 0);
                }
            }
            EXPECT_TRUE(inked) << "the marked text shows on the palette's base";
        }
        d.SetTextZoom(100);
    });
}

// A line with bold parts keeps as much of its text as fits with its own bold
// parts in bold and the ellipsis after it, and no more.
TEST(ListBoxTest, ALineWithBoldPartsIsCutWhereItsOwnBoldPartsLetItFit) {
    QFont font = QApplication::font();
    font.setPixelSize(14);
    const QString text = QString::fromUtf16(u"умный — saĝa homo, умный человек, inteligenta, "
                                            u"prudenta, klera, sprita homo de granda saĝo");
    // The width of a text cut after `kept` units, with the same bold parts.
    const auto widthOf = [&](const QVariantList& bold, int kept) {
        const QString shown = kept == text.size() ? text : text.left(kept) + QChar(0x2026);
        QTextLayout layout(shown, font);
        QList<QTextLayout::FormatRange> formats;
        for (const QVariant& part : bold) {
            const int end = std::min(part.toPoint().y(), kept);
            if (part.toPoint().x() < end) {
                QTextLayout::FormatRange format;
                format.start = part.toPoint().x();
                format.length = end - part.toPoint().x();
                format.format.setFontWeight(QFont::Bold);
                formats.push_back(format);
            }
        }
        layout.setFormats(formats);
        layout.beginLayout();
        const QTextLine line = layout.createLine();
        layout.endLayout();
        return line.naturalTextWidth();
    };
    const QVariantList first = {QPoint(0, 5)};
    const QVariantList two = {QPoint(0, 5), QPoint(34, 39)};
    const QVariantList all = {QPoint(0, static_cast<int>(text.size()))};
    for (const QVariantList& bold : {first, two, all}) {
        for (const int width : {1, 40, 120, 200, 330}) {
            const int kept = fw::detail::ElidedLength(text, bold, font, width);
            SCOPED_TRACE(::testing::Message() << "width " << width << ", kept " << kept);
            ASSERT_GE(kept, 0);
            ASSERT_LT(kept, text.size());
            if (kept > 0) {
                EXPECT_LE(widthOf(bold, kept), width) << "it fits";
            }
            EXPECT_GT(widthOf(bold, kept + 1), width) << "one more would not";
        }
        const int whole = static_cast<int>(widthOf(bold, static_cast<int>(text.size()))) + 1;
        EXPECT_EQ(fw::detail::ElidedLength(text, bold, font, whole), text.size());
    }
    // Measuring the whole line in bold, as if it all were, keeps less.
    QFont boldFont = font;
    boldFont.setBold(true);
    if (QFontMetrics(boldFont).horizontalAdvance(text) >
        QFontMetrics(font).horizontalAdvance(text)) {
        const QString asIfBold = QFontMetrics(boldFont).elidedText(text, Qt::ElideRight, 200);
        EXPECT_GT(fw::detail::ElidedLength(text, first, font, 200), asIfBold.size() - 1);
    }
}

TEST(ListBoxTest, NotifiesOnlyTheUsersOwnChoices) {
    TestDialog dlg;
    WithDialog(dlg, [](TestDialog& d) {
        const fw::ListBox& list = d.m_list;
        auto* view = ControlWidget(d, test_dialog::kList);
        ASSERT_TRUE(gui_driver::Activate(view));
        const auto choices = [&] { return Only(d.notes, fw::Msg::ListSelChange); };

        // The program's own doings: none of them notifies.
        for (const char16_t* line : {u"a", u"b", u"c", u"d"}) {
            list.AddString(line);
        }
        list.SetCurSel(2);
        list.ResetContent();
        for (const char16_t* line : {u"a", u"b", u"c", u"d"}) {
            list.AddString(line);
        }
        view->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(list.GetCurSel(), 0) << "a focused list shows its current line";
        EXPECT_TRUE(choices().empty());

        // Moving keys move the selected line and choose nothing.
        for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_End, Qt::Key_Up,
                                  Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_Down}) {
            gui_driver::Key(view, key);
        }
        EXPECT_EQ(list.GetCurSel(), 1);
        EXPECT_TRUE(choices().empty());

        // The user's choices, each with the chosen line selected when it notifies.
        gui_driver::Key(view, Qt::Key_Return);
        gui_driver::Key(view, Qt::Key_Down);
        gui_driver::Key(view, Qt::Key_Enter, Qt::KeypadModifier);
        gui_driver::ClickLine(view, 3);
        gui_driver::ClickLine(view, 3); // the selected line again
        std::vector<int> seen;
        for (const Note& note : choices()) {
            seen.push_back(note.curSel);
        }
        EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 3}));

        list.SetCurSel(1);
        EXPECT_EQ(choices().size(), 4u) << "selection by code after the user's";
    });
}

TEST(ListBoxTest, CheckBoxesSwitchBySpaceOrClickAndNotifyOnlyTheUsersChanges) {
    TestDialog dlg;
    WithDialog(dlg, [](TestDialog& d) {
        const fw::ListBox& list = d.m_list;
        auto* view = dynamic_cast<QListWidget*>(ControlWidget(d, test_dialog::kList));
        ASSERT_TRUE(view != nullptr);
        ASSERT_TRUE(gui_driver::Activate(view));
        const auto switched = [&] {
            std::vector<std::pair<int, bool>> seen; // the current line, its box
            for (const Note& note : Only(d.notes, fw::Msg::ListCheckChange)) {
                seen.emplace_back(note.curSel, list.GetCheck(note.curSel));
            }
            return seen;
        };
        const auto checks = [&] {
            std::vector<bool> state;
            for (int i = 0; i < list.GetCount(); ++i) {
                state.push_back(list.GetCheck(i));
            }
            return state;
        };

        // The program's own doings notify nothing; a plain line has no box.
        EXPECT_EQ(list.AddCheckString(u"alfa", true), 0);
        EXPECT_EQ(list.AddCheckString(u"beta", false), 1);
        EXPECT_EQ(list.AddString(u"gamma"), 2);
        EXPECT_EQ(list.AddCheckString(u"delta", false), 3);
        EXPECT_TRUE(list.SetCheck(3, true));
        EXPECT_FALSE(list.SetCheck(2, true));
        EXPECT_FALSE(list.SetCheck(4, true));
        EXPECT_FALSE(list.GetCheck(-1));
        EXPECT_EQ(list.GetText(1), u"beta") << "the box is no part of the text";
        EXPECT_EQ(checks(), (std::vector<bool>{true, false, false, true}));
        view->setFocus(Qt::TabFocusReason);
        EXPECT_TRUE(switched().empty());

        // Space switches the current line's box; arrows move as on any list;
        // Space on a plain line and Space with a modifier do nothing.
        const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {
            {Qt::Key_Space, Qt::NoModifier},    {Qt::Key_Down, Qt::NoModifier},
            {Qt::Key_Space, Qt::NoModifier},    {Qt::Key_Down, Qt::NoModifier},
            {Qt::Key_Space, Qt::NoModifier},    {Qt::Key_Down, Qt::NoModifier},
            {Qt::Key_Space, Qt::ShiftModifier}, {Qt::Key_Space, Qt::NoModifier},
        };
        for (const auto& [key, modifiers] : keys) {
            gui_driver::Key(view, key, modifiers);
        }
        EXPECT_EQ(checks(), (std::vector<bool>{false, true, false, false}));
        EXPECT_EQ(switched(),
                  (std::vector<std::pair<int, bool>>{{0, false}, {1, true}, {3, false}}));
        EXPECT_TRUE(Only(d.notes, fw::Msg::ListSelChange).empty()) << "Space chooses nothing";

        // A click on a box switches it and makes its line the current one.
        gui_driver::ClickCheckBox(view, 1);
        EXPECT_EQ(checks(), (std::vector<bool>{false, false, false, false}));
        ASSERT_EQ(switched().size(), 4u);
        EXPECT_EQ(switched().back(), (std::pair<int, bool>{1, false}));
    });
}

TEST(StaticTest, TextAndImage) {
    TestDialog dlg;
    WithDialog(dlg, [](TestDialog& d) {
        const fw::Static label = d.GetStatic(test_dialog::kStatic);
        label.SetWindowText(u"Перевод");
        EXPECT_EQ(label.GetWindowText(), u"Перевод");
        EXPECT_FALSE(label.HasImage());
        EXPECT_EQ(d.GetDlgItem(4242).GetWindowText(), u"") << "a missing control reads empty";
        EXPECT_FALSE(d.GetDlgItem(4242).IsValid());
    });
}

} // namespace

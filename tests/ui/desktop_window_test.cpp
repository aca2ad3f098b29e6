// SPDX-License-Identifier: GPL-2.0-or-later
// Both windows on a desktop: the keyboard from the box into the list and back,
// Escape, Ctrl+L; the controls filling the window at any size and the reader
// over the search window; zooming; a word sent while the reader is open.
#include "framework/message_box.h"
#include "framework/soft_key_bar.h"
#include "reader_loop_harness.h"
#include "ui/fulltext_results.h"
#include "ui/text_zoom.h"

#include <QApplication>
#include <QGuiApplication>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTimer>
#include <QWheelEvent>

#include <filesystem>

namespace {

using namespace reader_loop_harness;
using fw::testing::ControlWidget;
using fw::testing::WindowWidget;

class DesktopWindowTest : public ReaderLoopTest {
protected:
    QWidget* Box() { return ControlWidget(main, IDC_SEARCH); }
    QWidget* List() { return ControlWidget(main, IDC_LIST); }
    QWidget* Focused(fw::Dialog& d) { return WindowWidget(d)->focusWidget(); }
    void Key(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        ASSERT_NE(widget, nullptr);
        gui_driver::Key(widget, key, mods);
    }
    // A turn of the wheel by `angle` eighths of a degree with Ctrl held.
    static void CtrlWheel(QWidget* view, int angle) {
        QWidget* target = dynamic_cast<QAbstractScrollArea*>(view)->viewport();
        const QPointF at(target->width() / 2.0, target->height() / 2.0);
        QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton,
                          Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &wheel);
    }
    // The template's rectangle in pixels of the window's font.
    static fw::Rect Mapped(fw::Dialog& d, fw::Rect units) {
        EXPECT_TRUE(d.MapDialogRect(units));
        return units;
    }
};

TEST_F(DesktopWindowTest, KeysGoFromTheBoxIntoTheListAndBackAndOnlyEnterOpens) {
    Run(
        [&] {
            ASSERT_TRUE(gui_driver::Activate(Box()));
            Key(Box(), Qt::Key_Down);
            EXPECT_EQ(Focused(main), Box()) << "an empty list takes no focus";
            Type(u"до");
            enum Where { kBox, kList };
            const struct {
                Where from;
                Qt::Key key;
                Where to;
                int line;
            } steps[] = {
                {kBox, Qt::Key_Down, kList, 0},     {kList, Qt::Key_Down, kList, 1},
                {kList, Qt::Key_Home, kList, 0},    {kList, Qt::Key_End, kList, 1},
                {kList, Qt::Key_Up, kList, 0},      {kList, Qt::Key_Up, kBox, 0},
                {kBox, Qt::Key_PageDown, kList, 0}, {kList, Qt::Key_PageDown, kList, 1},
            };
            const auto widget = [&](Where where) { return where == kBox ? Box() : List(); };
            for (const auto& step : steps) {
                Key(widget(step.from), step.key);
                EXPECT_EQ(Focused(main), widget(step.to)) << step.key;
                EXPECT_EQ(main.m_list.GetCurSel(), step.line) << step.key;
            }
            EXPECT_EQ(theHistory.entries.size(), 0u) << "no key opened the reader";
            Key(List(), Qt::Key_Return); // opens "дома"
            ExpectSearch(u"до", {u"дом", u"дома"}, IDR_MENU_BACK, __LINE__);
            EXPECT_EQ(Focused(main), Box());

            // Escape empties the box and the list, from either control, and
            // never ends the window.
            Key(List(), Qt::Key_Escape);
            ExpectSearch(u"", {}, IDR_MENU_BACK, __LINE__);
            Key(Box(), Qt::Key_Escape);
            EXPECT_TRUE(main.HasWindow());
            EXPECT_EQ(Focused(main), Box());

            // Ctrl+L and Ctrl+F return to the box with its text selected.
            ASSERT_TRUE(gui_driver::Activate(Box()));
            for (const Qt::Key key : {Qt::Key_L, Qt::Key_F}) {
                Type(u"hu");
                Key(Box(), Qt::Key_Down);
                Key(List(), key, Qt::ControlModifier);
                EXPECT_EQ(Focused(main), Box());
                EXPECT_EQ(window_probe::BoxSel(main), (fw::Selection{0, 2}));
            }
        },
        {[&] {
            EXPECT_EQ(reader.m_refs, RuRefs("дома"));
            EXPECT_EQ(fw::testing::WindowWidget(reader)->windowTitle(),
                      QString::fromUtf8("дома — Kelimbo"));
            CloseReader();
        }});
}

TEST_F(DesktopWindowTest, TheControlsFillEitherWindowAndTheReaderOpensOverTheSearchWindow) {
    const QSize sizes[] = {{420, 600}, {900, 420}, {1000, 1300}, {0, 0}}; // 0: the smallest
    for (const QSize size : sizes) {
        QRect readerAt;
        Run(
            [&] {
                QWidget* window = WindowWidget(main);
                window->resize(size);
                window->move(40, 30);
                QApplication::processEvents();
                // The box across the top, the list over the rest, each keeping
                // its template's margins to the edges it is tied to.
                const int width = window->width();
                const int client = window->height() - fw::detail::SoftKeyBar::PreferredHeight();
                const fw::Rect whole = Mapped(main, {0, 0, 156, 122});
                const fw::Rect box = Mapped(main, {3, 1, 151, 14});
                const fw::Rect list = Mapped(main, {3, 19, 151, 118});
                EXPECT_EQ(
                    main.GetDlgItem(IDC_SEARCH).GetRect(),
                    (fw::Rect{box.left, box.top, width - (whole.right - box.right), box.bottom}))
                    << width << "x" << client;
                EXPECT_EQ(main.GetDlgItem(IDC_LIST).GetRect(),
                          (fw::Rect{list.left, list.top, width - (whole.right - list.right),
                                    client - (whole.bottom - list.bottom)}))
                    << width << "x" << client;
                Type(u"hu");
                Choose(0);
                // The search window goes on where the reader was left.
                EXPECT_EQ(window->frameGeometry(), readerAt);
            },
            {[&] {
                QWidget* window = WindowWidget(reader);
                EXPECT_EQ(window->frameGeometry(), WindowWidget(main)->frameGeometry());
                EXPECT_EQ(window->windowState(), WindowWidget(main)->windowState());
                // The article over all but the button's row, the button at the bottom right.
                const int width = window->width();
                const int client = window->height() - fw::detail::SoftKeyBar::PreferredHeight();
                const fw::Rect whole = Mapped(reader, {0, 0, 156, 159});
                const fw::Rect article = Mapped(reader, {3, 1, 151, 138});
                const fw::Rect button = Mapped(reader, {48, 142, 151, 154});
                EXPECT_EQ(
                    reader.GetDlgItem(IDC_ARTICLE).GetRect(),
                    (fw::Rect{article.left, article.top, width - (whole.right - article.right),
                              client - (whole.bottom - article.bottom)}));
                const int right = width - (whole.right - button.right);
                const int bottom = client - (whole.bottom - button.bottom);
                EXPECT_EQ(
                    reader.GetDlgItem(IDC_TRANSLATE).GetRect(),
                    (fw::Rect{right - button.Width(), bottom - button.Height(), right, bottom}));
                window->resize(window->width() + 30, window->height() + 20);
                QApplication::processEvents();
                readerAt = window->frameGeometry();
                CloseReader();
            }});
    }
}

TEST_F(DesktopWindowTest, ZoomKeysAndCtrlWheelZoomTheListAndTheArticleInBothWindows) {
    const auto zoomOf = [](QWidget* control) {
        return qRound(100 * control->font().pointSizeF() / control->window()->font().pointSizeF());
    };
    Run(
        [&] {
            ASSERT_TRUE(gui_driver::Activate(Box()));
            EXPECT_EQ(zoomOf(List()), 100);
            const struct {
                std::function<void()> act;
                int zoom;
            } steps[] = {
                {[&] { Key(Box(), Qt::Key_Plus, Qt::ControlModifier); }, 110},
                {[&] { Key(List(), Qt::Key_Equal, Qt::ControlModifier); }, 125},
                {[&] { CtrlWheel(List(), 120); }, 150},
                {[&] { CtrlWheel(List(), 60); }, 150}, // half a notch: not yet
                {[&] { CtrlWheel(List(), 60); }, 175},
                {[&] { Key(Box(), Qt::Key_Minus, Qt::ControlModifier); }, 150},
            };
            for (const auto& step : steps) {
                step.act();
                EXPECT_EQ(zoomOf(List()), step.zoom);
                EXPECT_EQ(objects.settings.Zoom(), step.zoom);
            }
            EXPECT_EQ(zoomOf(Box()), 100) << "the box keeps the window's font";
            Type(u"hu");
            Choose(0);
            EXPECT_EQ(zoomOf(List()), 100) << "reset in the reader";
        },
        {[&] {
            QWidget* article = ControlWidget(reader, IDC_ARTICLE);
            EXPECT_EQ(zoomOf(article), 150);
            CtrlWheel(article, -120);
            EXPECT_EQ(zoomOf(article), 125);
            EXPECT_EQ(zoomOf(List()), 125) << "the window below follows";
            ASSERT_TRUE(gui_driver::Activate(article));
            Key(article, Qt::Key_0, Qt::ControlModifier);
            EXPECT_EQ(zoomOf(article), kDefaultZoom);
            CloseReader();
        }});
}

TEST_F(DesktopWindowTest, TheReadersErrorBoxIsCentredOnItAndABoxWithoutOwnerOnTheScreen) {
    std::filesystem::remove(dir.File("EoRu_kelimbo.txt"));  // the reader shows its box at once
    eoProv.Load(dir.AnsiPath("EoRu_kelimbo.txt"), eoIndex); // loaded without its text
    QRect where;                                            // where the box belongs
    std::vector<int> offCentre;                             // of each box shown, in pixels
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (QWidget* box = QApplication::activeModalWidget(); box && box->isVisible()) {
            offCentre.push_back((box->frameGeometry().center() - where.center()).manhattanLength());
            box->close();
        }
    });
    poll.start(5);
    Run(
        [&] {
            WindowWidget(main)->setGeometry(300, 120, 420, 600);
            QApplication::processEvents();
            where = WindowWidget(main)->frameGeometry(); // where the reader opens
            Type(u"hu");
            Choose(0);
        },
        {[&] { CloseReader(); }});
    where = QGuiApplication::primaryScreen()->availableGeometry();
    fw::MessageBox(nullptr, u"Ошибка", u"Ошибка",
                   fw::MessageBoxIcon::Error); // as start-up shows one
    EXPECT_EQ(offCentre.size(), 2u);
    for (const int off : offCentre) {
        EXPECT_LE(off, 1);
    }
}

TEST_F(DesktopWindowTest, AWordSentWhileTheReaderIsOpenClosesItAndIsLookedUp) {
    Run(
        [&] {
            Type(u"hu");
            Choose(0);
            // Closed as with Escape: the article is recorded, the word shown as typed.
            ExpectSearch(u"ŝipo", {FullTextOfferLine(u"ŝipo")}, IDR_MENU_BACK, __LINE__);
            ExpectHistory({{u"hu"}, 1}, __LINE__);
            EXPECT_EQ(Focused(main), Box());
            Type(u"ka");
            Choose(0);
            ExpectSearch(u"ka", {u"kato"}, IDR_MENU_BACK, __LINE__);
            EXPECT_EQ(Focused(main), Box());
            Choose(0);
            EXPECT_FALSE(WindowWidget(main)->isVisible()) << "Ctrl+Q in the reader ends it all";
            ExpectHistory({{u"hu", u"ka"}, 2}, __LINE__);
        },
        {
            [&] { main.ShowWord(u"sxipo"); },
            [&] {
                ASSERT_TRUE(gui_driver::Activate(WindowWidget(reader)));
                Key(ControlWidget(reader, IDC_ARTICLE), Qt::Key_L, Qt::ControlModifier);
            },
            [&] {
                ASSERT_TRUE(gui_driver::Activate(WindowWidget(reader)));
                Key(ControlWidget(reader, IDC_ARTICLE), Qt::Key_Q, Qt::ControlModifier);
            },
        });
}

} // namespace

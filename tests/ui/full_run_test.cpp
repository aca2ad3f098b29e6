// SPDX-License-Identifier: GPL-2.0-or-later
// A whole run of the program from the keyboard: start, look up, read,
// translate, back, forward, close, and a second start that finds the history
// again in "historio.bin".
#include "app/kelimbo_app.h"
#include "reader_loop_harness.h"

#include <filesystem>
#include <memory>

namespace {

using namespace reader_loop_harness;
using fw::testing::ControlWidget;
using fw::testing::WindowWidget;
using window_probe::HistoryState;

class FullRunTest : public ::testing::Test {
protected:
    void SetUp() override { reading_dictionary::Write(dir); }

    // Starts the program on program objects of its own, as a new process
    // does; the main window and each reader run are handed to `main` and to
    // the next of `reads`.
    void Start(const std::function<void(CKelimboDlg&)>& main,
               const std::vector<std::function<void(CKelimboDlg&, CLegiloDlg&)>>& reads) {
        std::size_t next = 0;
        CKelimboDlg* mainWindow = nullptr;
        fw::testing::ScopedModalRun run([&](fw::Dialog& d) {
            if (auto* reader = dynamic_cast<CLegiloDlg*>(&d)) {
                ASSERT_NE(mainWindow, nullptr);
                EXPECT_EQ(reader->Parent(), mainWindow);
                ASSERT_LT(next, reads.size()) << "a reader run more than the script has";
                reads[next++](*mainWindow, *reader);
                return;
            }
            mainWindow = &dynamic_cast<CKelimboDlg&>(d);
            main(*mainWindow);
            WindowWidget(d)->close(); // the caption's button
        });
        objects = std::make_unique<ProgramObjects>();
        CKelimboApp app;
        EXPECT_FALSE(app.Run(*objects, dictionary_fixture::ModulePath(dir)));
        EXPECT_EQ(next, reads.size()) << "reader runs";
    }

    // The history of the run in progress.
    window_probe::HistoryState History() const {
        return window_probe::History(objects->theHistory);
    }

    static void Key(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        ASSERT_NE(widget, nullptr);
        gui_driver::Key(widget, key, mods);
    }
    static QWidget* Focused(fw::Dialog& d) { return WindowWidget(d)->focusWidget(); }

    testing_support::TempDir dir;
    fw::testing::MessageBoxCapture boxes;
    std::unique_ptr<ProgramObjects> objects;
};

TEST_F(FullRunTest, LookUpReadTranslateBackForwardCloseAndStartAgain) {
    Start(
        [&](CKelimboDlg& main) {
            QWidget* box = ControlWidget(main, IDC_SEARCH);
            ASSERT_TRUE(gui_driver::Activate(box));
            ASSERT_TRUE(box->hasFocus());
            EXPECT_TRUE(fw::SoftKeys(main).empty());
            gui_driver::Type(box, u"hun");
            EXPECT_EQ(window_probe::BoxText(main), u"hun");
            gui_driver::Key(box, Qt::Key_Backspace);
            Key(box, Qt::Key_Down);
            EXPECT_TRUE(main.m_list.HasFocus());
            EXPECT_EQ(main.m_list.GetCurSel(), 0);
            Key(ControlWidget(main, IDC_LIST), Qt::Key_Return); // opens "hundo"

            // Back from translating "собака": the box holds the word, all selected.
            EXPECT_EQ(window_probe::BoxText(main), u"собака");
            EXPECT_EQ(window_probe::BoxSel(main), (fw::Selection{0, 6}));
            EXPECT_EQ(window_probe::Lines(main), (std::vector<std::u16string>{u"собака"}));
            EXPECT_EQ(fw::SoftKeys(main), window_probe::MenuKeys(IDR_MENU_BACK));
            EXPECT_EQ(Focused(main), box);
            ASSERT_TRUE(gui_driver::Activate(box));
            Key(box, Qt::Key_Tab);
            Key(ControlWidget(main, IDC_LIST), Qt::Key_Enter); // opens "собака"

            EXPECT_EQ(window_probe::BoxText(main), u"собака");
            EXPECT_EQ(Focused(main), box);
            EXPECT_EQ(History(), (HistoryState{{u"hu", u"собака"}, 2}));
        },
        {
            [&](CKelimboDlg&, CLegiloDlg& reader) {
                ASSERT_TRUE(gui_driver::Activate(WindowWidget(reader)));
                EXPECT_EQ(window_probe::Article(reader), kHundo);
                QWidget* article = ControlWidget(reader, IDC_ARTICLE);
                EXPECT_EQ(Focused(reader), article);
                // Down to the second line, select its first word with the comma, press the button.
                Key(article, Qt::Key_Down);
                Key(article, Qt::Key_Home);
                for (int i = 0; i < 7; ++i) {
                    Key(article, Qt::Key_Right, Qt::ShiftModifier);
                }
                Key(article, Qt::Key_Tab);
                Key(ControlWidget(reader, IDC_TRANSLATE), Qt::Key_Space);
            },
            [&](CKelimboDlg& main, CLegiloDlg& reader) {
                ASSERT_TRUE(gui_driver::Activate(WindowWidget(reader)));
                EXPECT_EQ(window_probe::Article(reader), kSobaka);
                EXPECT_EQ(fw::SoftKeys(reader), window_probe::MenuKeys(IDR_MENU_BACK));
                EXPECT_EQ(History(), (HistoryState{{u"hu"}, 1}));
                (void)main;
                Key(Focused(reader), Qt::Key_Left, Qt::AltModifier);
            },
            [&](CKelimboDlg& main, CLegiloDlg& reader) {
                ASSERT_TRUE(gui_driver::Activate(WindowWidget(reader)));
                EXPECT_EQ(window_probe::Article(reader), kHundo);
                EXPECT_EQ(window_probe::BoxText(main), u"hu");
                EXPECT_EQ(fw::SoftKeys(reader), window_probe::MenuKeys(IDR_MENU_FORWARD));
                EXPECT_EQ(History(), (HistoryState{{u"hu", u"собака"}, 0}));
                Key(Focused(reader), Qt::Key_Right, Qt::AltModifier);
            },
            [&](CKelimboDlg& main, CLegiloDlg& reader) {
                ASSERT_TRUE(gui_driver::Activate(WindowWidget(reader)));
                EXPECT_EQ(window_probe::Article(reader), kSobaka);
                EXPECT_EQ(window_probe::BoxText(main), u"собака");
                EXPECT_EQ(History(), (HistoryState{{u"hu", u"собака"}, 1}));
                Key(Focused(reader), Qt::Key_Escape);
            },
        });
    EXPECT_TRUE(std::filesystem::exists(dir.File("historio.bin")));
    EXPECT_TRUE(boxes.Calls().empty());

    // The second run starts where the first ended.
    Start(
        [&](CKelimboDlg& main) {
            QWidget* box = ControlWidget(main, IDC_SEARCH);
            ASSERT_TRUE(gui_driver::Activate(box));
            EXPECT_EQ(Focused(main), box);
            EXPECT_EQ(window_probe::BoxText(main), u"собака");
            EXPECT_EQ(window_probe::BoxSel(main), (fw::Selection{0, 6}));
            EXPECT_EQ(window_probe::Lines(main), (std::vector<std::u16string>{u"собака"}));
            EXPECT_EQ(fw::SoftKeys(main), window_probe::MenuKeys(IDR_MENU_BACK));
            EXPECT_EQ(History(), (HistoryState{{u"hu", u"собака"}, 2}));
            Key(box, Qt::Key_Left, Qt::AltModifier); // reopens "собака"
            EXPECT_EQ(History(), (HistoryState{{u"hu", u"собака"}, 2}));
        },
        {[&](CKelimboDlg&, CLegiloDlg& reader) {
            EXPECT_EQ(window_probe::Article(reader), kSobaka);
            reader.EndDialog(fw::IDOK);
        }});
}

// A word of an article that no headword begins with: translating it offers the
// headword of its base form, marked, which opens by its own position (not the
// empty range's start plus the line) and walks the history like any line; a
// start again on that history offers the same line.
TEST_F(FullRunTest, AnInflectedWordOffersItsHeadwordAlsoAfterAStartAgain) {
    const auto offersHundo = [&](CKelimboDlg& main) {
        EXPECT_EQ(window_probe::BoxText(main), u"hundojn");
        EXPECT_EQ(window_probe::Lines(main), (std::vector<std::u16string>{u"hundo"}));
        EXPECT_EQ(main.m_list.GetHint(0), u"основная форма слова «hundojn»");
    };
    const auto caption = [](CLegiloDlg& reader) {
        return WindowWidget(reader)->windowTitle().section(QStringLiteral(" — "), 0, 0);
    };
    Start(
        [&](CKelimboDlg& main) {
            QWidget* box = ControlWidget(main, IDC_SEARCH);
            ASSERT_TRUE(gui_driver::Activate(box));
            gui_driver::Type(box, u"am");
            EXPECT_EQ(window_probe::Lines(main), (std::vector<std::u16string>{u"ami"}));
            EXPECT_EQ(main.m_list.GetHint(0), u"") << "a line of the range is not marked";
            Key(box, Qt::Key_Down);
            Key(ControlWidget(main, IDC_LIST), Qt::Key_Return); // opens "ami"

            offersHundo(main);
            ASSERT_TRUE(gui_driver::Activate(box));
            Key(box, Qt::Key_Down);
            Key(ControlWidget(main, IDC_LIST), Qt::Key_Return); // opens "hundo"
            EXPECT_EQ(History(), (HistoryState{{u"am", u"hundojn"}, 2}));
        },
        {
            [&](CKelimboDlg&, CLegiloDlg& reader) {
                EXPECT_EQ(window_probe::Article(reader), kAmi);
                const std::size_t at = kAmi.find(u"hundojn");
                reader.GetEdit(IDC_ARTICLE).SetSel(static_cast<int>(at), static_cast<int>(at + 7));
                Click(ControlWidget(reader, IDC_TRANSLATE));
            },
            [&](CKelimboDlg&, CLegiloDlg& reader) {
                ASSERT_TRUE(gui_driver::Activate(WindowWidget(reader)));
                EXPECT_EQ(window_probe::Article(reader), kHundo);
                EXPECT_EQ(caption(reader), QStringLiteral("hundo"));
                Key(Focused(reader), Qt::Key_Left, Qt::AltModifier);
            },
            [&](CKelimboDlg& main, CLegiloDlg& reader) {
                ASSERT_TRUE(gui_driver::Activate(WindowWidget(reader)));
                EXPECT_EQ(window_probe::Article(reader), kAmi);
                EXPECT_EQ(window_probe::BoxText(main), u"am");
                Key(Focused(reader), Qt::Key_Right, Qt::AltModifier);
            },
            [&](CKelimboDlg& main, CLegiloDlg& reader) {
                ASSERT_TRUE(gui_driver::Activate(WindowWidget(reader)));
                EXPECT_EQ(window_probe::Article(reader), kHundo);
                EXPECT_EQ(caption(reader), QStringLiteral("hundo"));
                offersHundo(main);
                Key(Focused(reader), Qt::Key_Escape);
            },
        });
    EXPECT_TRUE(boxes.Calls().empty());

    Start(
        [&](CKelimboDlg& main) {
            QWidget* box = ControlWidget(main, IDC_SEARCH);
            ASSERT_TRUE(gui_driver::Activate(box));
            offersHundo(main);
            Key(box, Qt::Key_Down);
            Key(ControlWidget(main, IDC_LIST), Qt::Key_Return); // opens "hundo"
        },
        {[&](CKelimboDlg&, CLegiloDlg& reader) {
            EXPECT_EQ(window_probe::Article(reader), kHundo);
            reader.EndDialog(fw::IDOK);
        }});
}

} // namespace

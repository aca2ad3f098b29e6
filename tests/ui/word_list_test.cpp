// SPDX-License-Identifier: GPL-2.0-or-later
// The learner's word list in the windows, as a user drives them: the reader's
// star, the list in the search window with its orders, filter, removal and
// undo, the export, and a second start that finds the list and its order.
#include "app/kelimbo_app.h"
#include "reader_loop_harness.h"
#include "ui/word_list_view.h"

#include <QLineEdit>
#include <QPushButton>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace {

using namespace reader_loop_harness;
using fw::testing::ControlWidget;
using fw::testing::WindowWidget;

class WordListTest : public ::testing::Test {
protected:
    void SetUp() override { reading_dictionary::Write(dir); }

    // Starts the program on program objects of its own, as a new process
    // does; the main window and each reader run are handed to `main` and to
    // the next of `reads`.
    void Start(const std::function<void(CKelimboDlg&)>& main,
               const std::vector<std::function<void(CLegiloDlg&)>>& reads) {
        std::size_t next = 0;
        fw::testing::ScopedModalRun run([&](fw::Dialog& d) {
            if (auto* reader = dynamic_cast<CLegiloDlg*>(&d)) {
                ASSERT_LT(next, reads.size()) << "a reader run more than the script has";
                ASSERT_TRUE(gui_driver::Activate(WindowWidget(*reader)));
                reads[next++](*reader);
                return;
            }
            auto& window = dynamic_cast<CKelimboDlg&>(d);
            ASSERT_TRUE(gui_driver::Activate(WindowWidget(window)));
            main(window);
            WindowWidget(d)->close();
        });
        objects = std::make_unique<ProgramObjects>();
        CKelimboApp app;
        EXPECT_FALSE(app.Run(*objects, dictionary_fixture::ModulePath(dir)));
        EXPECT_EQ(next, reads.size()) << "reader runs";
    }

    // Looks a word up and opens its first line, as typed.
    static void Open(CKelimboDlg& main, std::u16string_view typed) {
        QWidget* box = ControlWidget(main, IDC_SEARCH);
        dynamic_cast<QLineEdit*>(box)->clear();
        gui_driver::Type(box, typed);
        gui_driver::Key(box, Qt::Key_Down);
        gui_driver::Key(ControlWidget(main, IDC_LIST), Qt::Key_Return);
    }
    static std::u16string Star(CLegiloDlg& reader) {
        return reader.GetDlgItem(IDC_KEEP).GetWindowText();
    }
    static void PressStar(CLegiloDlg& reader) {
        gui_driver::Key(ControlWidget(reader, IDC_ARTICLE), Qt::Key_S, Qt::ControlModifier);
    }
    static void ListKey(CKelimboDlg& main, Qt::Key key, Qt::KeyboardModifiers mods = {}) {
        gui_driver::Key(ControlWidget(main, IDC_LIST), key, mods);
    }
    // Ctrl+Shift+S in the search window, which a reader run may have left
    // inactive.
    static void WordListKey(CKelimboDlg& main) {
        QWidget* box = ControlWidget(main, IDC_SEARCH);
        ASSERT_TRUE(gui_driver::Activate(box));
        gui_driver::Key(box, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    }

    std::string Read(const char* name) const {
        std::ifstream in(dir.File(name), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    testing_support::TempDir dir;
    fw::testing::MessageBoxCapture boxes;
    std::unique_ptr<ProgramObjects> objects;
};

const std::u16string kHundoLine = u"hundo — собака, пёс; hunda — собачий";
const std::u16string kKatoLine = u"kato — кошка, кот";
const std::u16string kSobakaLine = u"собака — hundo";

// The star keeps and drops the headword at once in the file; each reader run
// on a kept word counts; the list shows the words in each order, filters,
// opens, removes and brings back; a second start finds all of it again.
TEST_F(WordListTest, StarListSortFilterRemoveUndoAndStartAgain) {
    const auto keep = [&](CLegiloDlg& reader) {
        EXPECT_EQ(Star(reader), u"☆");
        PressStar(reader);
        EXPECT_EQ(Star(reader), u"★");
        reader.EndDialog(fw::IDOK);
    };
    Start(
        [&](CKelimboDlg& main) {
            Open(main, u"hu");
            Open(main, u"kat");
            Open(main, u"соб");
            Open(main, u"kat"); // two look-ups of a kept word
            Open(main, u"kat");
            EXPECT_EQ(window_probe::Lines(main), std::vector<std::u16string>{u"kato"});

            WordListKey(main);
            ASSERT_TRUE(main.WordList().Active());
            EXPECT_EQ(window_probe::BoxText(main), u"");
            EXPECT_EQ(fw::SoftKeys(main), window_probe::MenuKeys(IDR_MENU_WORDS_BY_DATE));
            EXPECT_EQ(window_probe::Lines(main),
                      (std::vector<std::u16string>{kSobakaLine, kKatoLine, kHundoLine}));
            struct Order {
                std::uint16_t menu;
                std::vector<std::u16string> lines;
            };
            const Order orders[] = {
                {IDR_MENU_WORDS_BY_NAME, {kHundoLine, kKatoLine, kSobakaLine}},
                {IDR_MENU_WORDS_BY_LOOKUPS, {kKatoLine, kHundoLine, kSobakaLine}},
            };
            for (const Order& order : orders) {
                ListKey(main, Qt::Key_R, Qt::ControlModifier);
                EXPECT_EQ(fw::SoftKeys(main), window_probe::MenuKeys(order.menu));
                EXPECT_EQ(window_probe::Lines(main), order.lines);
            }

            // Typed x-system letters filter as the search box finds headwords.
            gui_driver::Type(ControlWidget(main, IDC_SEARCH), u"HU");
            EXPECT_EQ(window_probe::Lines(main), std::vector<std::u16string>{kHundoLine});
            gui_driver::Key(ControlWidget(main, IDC_SEARCH), Qt::Key_Return); // opens hundo
            EXPECT_TRUE(main.WordList().Active()) << "the list comes back after the reader";
            EXPECT_EQ(window_probe::BoxText(main), u"HU");
            dynamic_cast<QLineEdit*>(ControlWidget(main, IDC_SEARCH))->clear();

            // The lines now: kato 2 look-ups, hundo 1, собака none.
            ListKey(main, Qt::Key_Down);
            ListKey(main, Qt::Key_Down);
            ASSERT_EQ(main.m_list.GetCurSel(), 1);
            ListKey(main, Qt::Key_Delete);
            EXPECT_EQ(window_probe::Lines(main),
                      (std::vector<std::u16string>{kKatoLine, kSobakaLine}));
            EXPECT_EQ(main.m_list.GetCurSel(), 1);
            ListKey(main, Qt::Key_Delete);
            EXPECT_EQ(window_probe::Lines(main), std::vector<std::u16string>{kKatoLine});
            EXPECT_EQ(Read("vortlisto.tsv").find("hundo"), std::string::npos) << "saved at once";
            ListKey(main, Qt::Key_Z, Qt::ControlModifier);
            ListKey(main, Qt::Key_Z, Qt::ControlModifier);
            EXPECT_EQ(window_probe::Lines(main),
                      (std::vector<std::u16string>{kKatoLine, kHundoLine, kSobakaLine}));
            EXPECT_EQ(main.m_list.GetCurSel(), 1) << "the word brought back last";

            gui_driver::Key(ControlWidget(main, IDC_LIST), Qt::Key_Escape);
            EXPECT_FALSE(main.WordList().Active());
            EXPECT_EQ(window_probe::BoxText(main), u"kat") << "the search as it was";
            EXPECT_EQ(window_probe::Lines(main), std::vector<std::u16string>{u"kato"});
            // Its key follows the history's while the list holds words.
            EXPECT_EQ(fw::SoftKeys(main), window_probe::MenuKeys(IDR_MENU_BACK_WORDS));
        },
        {keep, keep, keep,
         [&](CLegiloDlg& reader) {
             EXPECT_EQ(Star(reader), u"★") << "kato is kept";
             reader.EndDialog(fw::IDOK);
         },
         [&](CLegiloDlg& reader) { reader.EndDialog(fw::IDOK); },
         [&](CLegiloDlg& reader) {
             EXPECT_EQ(window_probe::Article(reader), kHundo);
             reader.EndDialog(fw::IDOK);
         }});
    EXPECT_TRUE(boxes.Calls().empty());

    // A second start: the words with their dates and counts, in the order left.
    Start(
        [&](CKelimboDlg& main) {
            EXPECT_EQ(fw::SoftKeys(main), window_probe::MenuKeys(IDR_MENU_BACK_WORDS));
            Click(fw::testing::SoftKeyWidget(main, ID_WORD_LIST));
            EXPECT_TRUE(main.WordList().Active());
            EXPECT_EQ(fw::SoftKeys(main), window_probe::MenuKeys(IDR_MENU_WORDS_BY_LOOKUPS));
            EXPECT_EQ(window_probe::Lines(main),
                      (std::vector<std::u16string>{kKatoLine, kHundoLine, kSobakaLine}));
            // Ctrl+Shift+S again: the search.
            WordListKey(main);
            EXPECT_FALSE(main.WordList().Active());
            Open(main, u"hu");
        },
        {[&](CLegiloDlg& reader) {
            EXPECT_EQ(Star(reader), u"★");
            PressStar(reader); // out of the list
            EXPECT_EQ(Star(reader), u"☆");
            reader.EndDialog(fw::IDOK);
        }});
    EXPECT_EQ(objects->words.Size(), 2u);
    EXPECT_EQ(Read("vortlisto.tsv").find("hundo"), std::string::npos);
    EXPECT_TRUE(boxes.Calls().empty());
}

// A word no dictionary has stays in the list, marked; Enter on it says so and
// opens nothing. The export writes the words shown, for Anki or as CSV by the
// file's name, and a file that cannot be written is reported.
TEST_F(WordListTest, AMissingWordIsMarkedAndTheExportWritesTheShownWords) {
    // A damaged line: what can be read is kept, and the list says so once shown.
    std::ofstream(dir.File("vortlisto.tsv"), std::ios::binary)
        << "kelimbo-vortlisto\t1\nkato\teo\t100\t0\nkato eo cent\n";
    Start(
        [&](CKelimboDlg& main) {
            ASSERT_TRUE(objects->words.Add("neniu", true, 200));
            WordListKey(main);
            ASSERT_EQ(boxes.Calls().size(), 1u);
            EXPECT_EQ(boxes.Calls()[0].caption, u"Мои слова");
            EXPECT_EQ(boxes.Calls()[0].icon, fw::MessageBoxIcon::Warning);
            EXPECT_TRUE(objects->words.Messages().empty()) << "said once";
            EXPECT_EQ(window_probe::Lines(main),
                      (std::vector<std::u16string>{u"neniu (нет в словаре)", kKatoLine}));
            EXPECT_EQ(main.m_list.GetHint(0), u"нет ни в одном словаре");
            EXPECT_EQ(main.m_list.GetHint(1), u"");
            gui_driver::Key(ControlWidget(main, IDC_SEARCH), Qt::Key_Return); // no reader
            ASSERT_EQ(boxes.Calls().size(), 2u);
            EXPECT_EQ(boxes.Calls()[1].text, u"«neniu» нет в словаре.");
            EXPECT_TRUE(main.WordList().Active());
            EXPECT_EQ(main.m_list.GetCurSel(), 0);

            struct Case {
                std::string name;
                std::string firstLine; // of the file
                std::u16string message;
                fw::MessageBoxIcon icon;
            };
            const std::string folder = dir.File("");
            const Case cases[] = {
                {"words.tsv", "#separator:tab",
                 u"Записано слов: 2\n" + platform::FromUtf8(folder) + u"words.tsv",
                 fw::MessageBoxIcon::Information},
                {"WORDS.CSV", "word,translation,direction,added,lookups",
                 u"Записано слов: 2\n" + platform::FromUtf8(folder) + u"WORDS.CSV",
                 fw::MessageBoxIcon::Information},
                {"no-such-folder/words.tsv", "",
                 u"Список слов не записан в «" + platform::FromUtf8(folder) +
                     u"no-such-folder/words.tsv»: No such file or directory.",
                 fw::MessageBoxIcon::Error},
            };
            for (const Case& c : cases) {
                const fw::testing::ScopedSaveFileAnswer answer(folder + c.name);
                gui_driver::Key(ControlWidget(main, IDC_LIST), Qt::Key_E, Qt::ControlModifier);
                ASSERT_EQ(answer.Calls().size(), 1u) << c.name;
                EXPECT_EQ(boxes.Calls().back().text, c.message) << c.name;
                EXPECT_EQ(boxes.Calls().back().icon, c.icon) << c.name;
                const std::string written = Read(c.name.c_str());
                EXPECT_EQ(written.substr(0, written.find_first_of("\r\n")), c.firstLine) << c.name;
                // Both words, the missing one too, in the list's order.
                if (!c.firstLine.empty()) {
                    EXPECT_LT(written.find("neniu"), written.find("kato")) << c.name;
                }
            }
            // Cancelled: nothing written, nothing said.
            const std::size_t said = boxes.Calls().size();
            const fw::testing::ScopedSaveFileAnswer cancel(std::nullopt);
            gui_driver::Key(ControlWidget(main, IDC_LIST), Qt::Key_E, Qt::ControlModifier);
            EXPECT_EQ(cancel.Calls().size(), 1u);
            EXPECT_EQ(boxes.Calls().size(), said);
        },
        {});
}

// A long list shows every word at once and the translations of its first
// lines; those of the others follow from the event loop, and none is lost
// when the list is filled anew meanwhile. A failure there is shown, not
// thrown through the event loop.
TEST_F(WordListTest, ALongListShowsTheFirstTranslationsAtOnceAndTheRestSoonAfter) {
    bool wentOn = false; // past the failure, in the same run
    Start(
        [&](CKelimboDlg& main) {
            const std::size_t first = WordListView::kFirstLines;
            const std::size_t count = first + 150;
            for (std::size_t k = 0; k < count; ++k) {
                const std::string word = k == first ? "kato" : "vorto" + std::to_string(k);
                ASSERT_TRUE(objects->words.Add(word, true, static_cast<std::int64_t>(count - k)));
            }
            const auto marked = [&] {
                std::size_t lines = 0;
                for (int k = 0; k < main.m_list.GetCount(); ++k) {
                    lines += main.m_list.GetHint(k).empty() ? 0 : 1;
                }
                return lines;
            };
            for (int pass = 0; pass < 2; ++pass) {
                SCOPED_TRACE(pass == 0 ? "opened" : "filled anew");
                if (pass == 0) {
                    WordListKey(main);
                } else {
                    main.WordList().Fill();
                }
                ASSERT_EQ(main.m_list.GetCount(), static_cast<int>(count));
                EXPECT_EQ(marked(), first);
                EXPECT_EQ(main.m_list.GetText(static_cast<int>(first)), u"kato");
                EXPECT_EQ(main.m_list.GetText(static_cast<int>(first) - 1),
                          u"vorto" + platform::FromUtf8(std::to_string(first - 1)) + u" " +
                              u"(нет в словаре)");
                for (int turn = 0; turn < 100 && marked() < count - 1; ++turn) {
                    QCoreApplication::processEvents();
                }
                EXPECT_EQ(marked(), count - 1);
                EXPECT_EQ(main.m_list.GetText(static_cast<int>(first)), kKatoLine);
            }

            // A dictionary written over while the rest are looked up: said
            // once, the lines left as they are, the window going on.
            WordListKey(main);
            WordListKey(main);
            ASSERT_EQ(marked(), first);
            std::ofstream(dir.File("EoRu_kelimbo.bsi"), std::ios::binary | std::ios::app) << '!';
            for (int turn = 0; turn < 10; ++turn) {
                QCoreApplication::processEvents();
            }
            ASSERT_EQ(boxes.Calls().size(), 1u);
            EXPECT_EQ(boxes.Calls()[0].caption, u"Ошибка");
            EXPECT_EQ(marked(), first);
            EXPECT_TRUE(main.WordList().Active());
            wentOn = true;
        },
        {});
    EXPECT_TRUE(wentOn);
}

} // namespace

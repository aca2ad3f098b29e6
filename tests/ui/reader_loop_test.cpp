// SPDX-License-Identifier: GPL-2.0-or-later
// The reader loop of the search window, step by step with both windows real:
// what the box, the list, the article and the soft keys show, and where the
// history and its cursor stand, after each choice, key and translation.
#include "forms/russian_stemmer.h"
#include "framework/input_panel.h"
#include "reader_loop_harness.h"
#include "ui/fulltext_results.h"

#include "dictbuild/dictionary_build.h"

#include <sstream>

#include <filesystem>

namespace {

using namespace reader_loop_harness;
using window_probe::HistoryState;
using window_probe::kNoKeys;

TEST_F(ReaderLoopTest, ALineOpensItsHeadwordAndTheArticleEntersTheHistoryWhenTheReaderCloses) {
    Run(
        [&] {
            ExpectSearch(u"", {}, kNoKeys, __LINE__);
            Type(u"до");
            ASSERT_EQ(window_probe::Lines(main), (std::vector<std::u16string>{u"дом", u"дома"}));
            fw::testing::ResetSipRequests();
            Choose(1);
            ExpectSearch(u"до", {u"дом", u"дома"}, IDR_MENU_BACK, __LINE__);
            ExpectHistory({{u"до"}, 1}, __LINE__);
            EXPECT_TRUE(theHistory.searchView);
            EXPECT_EQ(theHistory.entries[0].refs, RuRefs("дома"));
            EXPECT_FALSE(theHistory.entries[0].isEsperanto);
            EXPECT_EQ(fw::testing::WindowWidget(main)->focusWidget(),
                      fw::testing::ControlWidget(main, IDC_SEARCH));
            EXPECT_EQ(fw::testing::LastSipRequest(), fw::SipState::Up);
        },
        {[&] {
            // Line 1 opens what the core's line 1 does.
            ExpectReader(kDoma, kNoKeys, u"до", __LINE__);
            EXPECT_EQ(reader.m_refs, objects.lookup.Refs(main.Listed(), 1));
            ExpectHistory({{}, 0}, __LINE__); // not recorded while it is read
            CloseReader();
        }});
}

TEST_F(ReaderLoopTest, ALineOfTwoDictionariesOpensBothUnderTheirNamesAndRecordsTheFirstOnes) {
    // A second dictionary with an Esperanto pair only: kato in both, katido in it alone.
    testing_support::TempDir second;
    std::istringstream tsv("kato\tkato dua\nkatido\tkatido dua\n");
    BuildFromSource(Language::Esperanto, ReadTsvSource(tsv), second.Path());
    objects.lookup.Open({{"unua", dir.AnsiPath("")}, {"dua", second.AnsiPath(""), false, true}});
    objects.lookup.Load();
    Run(
        [&] {
            Type(u"kat");
            EXPECT_EQ(window_probe::Lines(main), (std::vector<std::u16string>{u"katido", u"kato"}));
            Choose(1);
            EXPECT_EQ(theHistory.entries.back().refs, EoRefs("kato"))
                << "the history reopens the first dictionary's articles";
            Choose(0);
        },
        {[&] {
             EXPECT_EQ(window_probe::Article(reader),
                       u"— unua —\r\n" + kKato + u"\r\n— dua —\r\nkato dua\r\n");
             CloseReader();
         },
         [&] {
             EXPECT_EQ(window_probe::Article(reader), u"— dua —\r\nkatido dua\r\n");
             CloseReader();
         }});
}

TEST_F(ReaderLoopTest, BackFromAListArticleRecordsItAndForwardShowsItAgain) {
    Run(
        [&] {
            Type(u"hu");
            Choose(0);
            ExpectSearch(u"hu", {u"hundo"}, IDR_MENU_BACK, __LINE__);
            Type(u"ka"); // over the selected text
            Choose(0);
            ExpectSearch(u"ka", {u"kato"}, IDR_MENU_BACK, __LINE__);
            ExpectHistory({{u"hu", u"ka"}, 2}, __LINE__);
            EXPECT_EQ(theHistory.entries[1].refs, EoRefs("kato"));
            EXPECT_TRUE(theHistory.entries[1].isEsperanto);
        },
        {
            [&] { CloseReader(); },
            [&] {
                ExpectReader(kKato, IDR_MENU_BACK, u"ka", __LINE__);
                ExpectHistory({{u"hu"}, 1}, __LINE__);
                ReaderKey(ID_BACK);
            },
            [&] {
                ExpectReader(kHundo, IDR_MENU_FORWARD, u"hu", __LINE__);
                EXPECT_EQ(window_probe::Lines(main), (std::vector<std::u16string>{u"hundo"}));
                EXPECT_EQ(window_probe::BoxSel(main), (fw::Selection{0, 2}));
                ExpectHistory({{u"hu", u"ka"}, 0}, __LINE__);
                ReaderKey(ID_FORWARD);
            },
            [&] {
                ExpectReader(kKato, IDR_MENU_BACK, u"ka", __LINE__);
                ExpectHistory({{u"hu", u"ka"}, 1}, __LINE__);
                CloseReader();
            },
        });
}

TEST_F(ReaderLoopTest, TheSearchWindowsKeysReopenTheCurrentEntryAndShowTheNextInPlace) {
    theHistory.Push(u"hu", EoRefs("hundo"), true);
    theHistory.Push(u"ka", EoRefs("kato"), true);
    theHistory.Push(u"до", RuRefs("дома"), false);
    Run(
        [&] {
            // A cursor above 0 at the start: its entry's text, wholly selected, and its list.
            ExpectSearch(u"до", {u"дом", u"дома"}, IDR_MENU_BACK, __LINE__);
            MainKey(ID_BACK);
            // Closing on an entry with entries after it steps forward, records nothing.
            ExpectSearch(u"ka", {u"kato"}, IDR_MENU_BACK_FORWARD, __LINE__);
            ExpectHistory({{u"hu", u"ka", u"до"}, 2}, __LINE__);
            MainKey(ID_FORWARD);
            ExpectSearch(u"до", {u"дом", u"дома"}, IDR_MENU_BACK, __LINE__);
            ExpectHistory({{u"hu", u"ka", u"до"}, 3}, __LINE__);
            EXPECT_FALSE(theHistory.entries[2].isEsperanto);
        },
        {
            [&] {
                // "назад" from the search window reopens the entry shown last.
                ExpectReader(kDoma, IDR_MENU_BACK, u"до", __LINE__);
                ExpectHistory({{u"hu", u"ka", u"до"}, 2}, __LINE__);
                ReaderKey(ID_BACK);
            },
            [&] {
                ExpectReader(kKato, IDR_MENU_BACK_FORWARD, u"ka", __LINE__);
                ExpectHistory({{u"hu", u"ka", u"до"}, 1}, __LINE__);
                CloseReader();
            },
            [&] {
                // "вперёд" from the search window shows the next entry; the cursor stays.
                ExpectReader(kDoma, IDR_MENU_BACK, u"до", __LINE__);
                ExpectHistory({{u"hu", u"ka", u"до"}, 2}, __LINE__);
                CloseReader();
            },
        });
}

TEST_F(ReaderLoopTest, BackFromAListArticleEqualToTheCurrentEntry) {
    struct Case {
        std::vector<std::u16string> before; // queries; "hu" last, the current entry
        std::vector<std::u16string> reads;  // box of each reader run
        HistoryState after;
    };
    const Case cases[] = {
        // Nothing lies before the first entry: the loop ends as closing does.
        {{u"hu"}, {u"hu"}, {{u"hu"}, 1}},
        // The entry before the current one is shown.
        {{u"ka", u"hu"}, {u"hu", u"ka"}, {{u"ka", u"hu"}, 1}},
    };
    for (const Case& c : cases) {
        theHistory = cHistory();
        for (const std::u16string& query : c.before) {
            theHistory.Push(query, EoRefs(query == u"hu" ? "hundo" : "kato"), true);
        }
        std::vector<std::u16string> boxes;
        std::vector<std::function<void()>> reads;
        for (std::size_t i = 0; i < c.reads.size(); ++i) {
            reads.push_back([&, i] {
                boxes.push_back(window_probe::BoxText(main));
                if (i == 0) {
                    ReaderKey(ID_BACK);
                } else {
                    reader.EndDialog(fw::IDOK);
                }
            });
        }
        Run(
            [&] {
                ASSERT_EQ(window_probe::BoxText(main), u"hu");
                Choose(0); // hundo, the current entry's article
            },
            reads);
        EXPECT_EQ(boxes, c.reads);
        EXPECT_EQ(History(), c.after);
    }
}

TEST_F(ReaderLoopTest, AStaleBackWithTheCursorAtZeroClosesTheReader) {
    theHistory.Push(u"hu", EoRefs("hundo"), true);
    theHistory.cursor = 0; // as a history file may leave it
    Run(
        [&] {
            ExpectSearch(u"", {}, IDR_MENU_FORWARD, __LINE__);
            Type(u"ka");
            Choose(0);
            ExpectSearch(u"ka", {u"kato"}, IDR_MENU_BACK, __LINE__);
            ExpectHistory({{u"ka"}, 1}, __LINE__); // entry 0 overwritten
        },
        {[&] {
            ExpectReader(kKato, kNoKeys, u"ka", __LINE__);
            reader.SendMessage(fw::Msg::Command, ID_BACK);
        }});
}

TEST_F(ReaderLoopTest, TranslatingFromAListArticleRecordsItAndLooksTheWordUp) {
    Run(
        [&] {
            Type(u"hu");
            Choose(0);
            ExpectSearch(u"собака", {u"собака"}, IDR_MENU_BACK, __LINE__);
            ExpectHistory({{u"hu"}, 1}, __LINE__);
            EXPECT_EQ(fw::testing::WindowWidget(main)->focusWidget(),
                      fw::testing::ControlWidget(main, IDC_SEARCH));
            Choose(0);
            // A selection without letters hands over the empty word.
            ExpectSearch(u"", {}, IDR_MENU_BACK, __LINE__);
            ExpectHistory({{u"hu", u"собака"}, 2}, __LINE__);
            EXPECT_EQ(theHistory.entries[1].refs, RuRefs("собака"));
            EXPECT_FALSE(theHistory.entries[1].isEsperanto);
        },
        {
            [&] {
                ExpectReader(kHundo, kNoKeys, u"hu", __LINE__);
                Translate(u"\r\nсобака, ");
            },
            [&] {
                ExpectReader(kSobaka, IDR_MENU_BACK, u"собака", __LINE__);
                Translate(u"\r\n");
            },
        });
}

TEST_F(ReaderLoopTest, TranslatingFromAHistoryEntryStepsForwardOrRecordsWhenItIsTheLast) {
    theHistory.Push(u"hu", EoRefs("hundo"), true);
    theHistory.Push(u"ka", EoRefs("kato"), true);
    Run(
        [&] {
            MainKey(ID_BACK);
            // Entries lay ahead of "hu": one step forward, nothing recorded.
            ExpectSearch(u"пёс", {FullTextOfferLine(u"пёс")}, IDR_MENU_BACK_FORWARD, __LINE__);
            ExpectHistory({{u"hu", u"ka"}, 1}, __LINE__);
            MainKey(ID_FORWARD);
            // "ka" was the last entry: recorded again, in its place.
            ExpectSearch(u"кошка", {u"кошка"}, IDR_MENU_BACK, __LINE__);
            ExpectHistory({{u"hu", u"ka"}, 2}, __LINE__);
        },
        {
            [&] {
                ExpectReader(kKato, IDR_MENU_BACK, u"ka", __LINE__);
                ReaderKey(ID_BACK);
            },
            [&] {
                ExpectReader(kHundo, IDR_MENU_FORWARD, u"hu", __LINE__);
                ExpectHistory({{u"hu", u"ka"}, 0}, __LINE__);
                Translate(u" пёс;");
            },
            [&] {
                ExpectReader(kKato, IDR_MENU_BACK, u"ka", __LINE__);
                ExpectHistory({{u"hu", u"ka"}, 1}, __LINE__);
                Translate(u"кошка");
            },
        });
}

TEST_F(ReaderLoopTest, AnUnreadableDictionaryLeavesTheLoopWorking) {
    std::filesystem::remove(dir.File("EoRu_kelimbo.txt"));
    eoProv.Load(dir.AnsiPath("EoRu_kelimbo.txt"), eoIndex); // loaded without its text
    fw::testing::MessageBoxCapture boxes;
    Run(
        [&] {
            Type(u"hu");
            Choose(0);
            ExpectSearch(u"hu", {u"hundo"}, IDR_MENU_BACK, __LINE__);
            ExpectHistory({{u"hu"}, 1}, __LINE__);
        },
        {[&] {
            ExpectReader(u"", kNoKeys, u"hu", __LINE__);
            ASSERT_EQ(boxes.Calls().size(), 1u);
            EXPECT_EQ(boxes.Calls()[0].owner, &reader);
            gui_driver::Key(fw::testing::WindowWidget(reader), Qt::Key_Escape);
        }});
}

// Translating an inflected word lands on the list with its base form's line
// first, marked and selected; Enter opens it, the step back returns to the
// article the word came from, and after a restart the list shows the line
// again, opening what the history holds.
TEST_F(ReaderLoopTest, AnInflectedWordsBaseFormLeadsTheListAndSurvivesARestart) {
    testing_support::TempDir own;
    std::istringstream eo("frapi\tfrapi: бить; frapi la kapon\nkapo\tkapo: голова\n"
                          "kapono\tkapono: каплун\n");
    std::istringstream ru("голова\tголова: kapo\n");
    BuildFromSource(Language::Esperanto, ReadTsvSource(eo), own.Path());
    BuildFromSource(Language::Russian, ReadTsvSource(ru), own.Path());
    objects.lookup.Open(own.AnsiPath(""));
    objects.lookup.Load();
    const std::string historyFile = own.File("history");
    theHistory.Load(historyFile.c_str(), objects.lookup.TextPath(true).c_str(),
                    objects.lookup.TextPath(false).c_str());
    const std::u16string frapi = u"frapi: бить; frapi la kapon\r\n";
    const std::u16string kapo = u"kapo: голова\r\n";
    Run(
        [&] {
            QWidget* list = fw::testing::ControlWidget(main, IDC_LIST);
            Type(u"frapi");
            Choose(0);
            EXPECT_EQ(window_probe::BoxText(main), u"kapon");
            EXPECT_EQ(window_probe::Lines(main), (std::vector<std::u16string>{u"kapo", u"kapono"}));
            EXPECT_FALSE(main.m_list.GetHint(0).empty()) << "the base form's line is marked";
            EXPECT_EQ(main.m_list.GetCurSel(), 0);
            EXPECT_EQ(fw::testing::WindowWidget(main)->focusWidget(), list);
            gui_driver::Key(list, Qt::Key_Return);
            ExpectHistory({{u"frapi", u"kapon"}, 1}, __LINE__);
            EXPECT_EQ(theHistory.entries[1].refs, EoRefs("kapo"));
        },
        {[&] {
             EXPECT_EQ(window_probe::Article(reader), frapi);
             Translate(u"kapon");
         },
         [&] {
             ExpectReader(kapo, IDR_MENU_BACK, u"kapon", __LINE__);
             ReaderKey(ID_BACK);
         },
         [&] {
             ExpectReader(frapi, IDR_MENU_FORWARD, u"frapi", __LINE__);
             CloseReader();
         }});

    // A restart: the saved history read anew, and a new search window.
    theHistory.Save();
    theHistory.entries.clear();
    theHistory.cursor = 0;
    theHistory.Load(historyFile.c_str(), objects.lookup.TextPath(true).c_str(),
                    objects.lookup.TextPath(false).c_str());
    ASSERT_EQ(theHistory.entries.size(), 2u);
    // It shows where the reader was left; a step forward from the search
    // window opens the base form's line again.
    CKelimboDlg again{objects};
    CLegiloDlg againReader{objects, &again};
    again.m_pLegilo = &againReader;
    int runs = 0;
    fw::testing::ScopedModalRun run([&](fw::Dialog& d) {
        ++runs;
        if (&d == &again) {
            EXPECT_EQ(window_probe::BoxText(again), u"frapi");
            Click(fw::testing::SoftKeyWidget(again, ID_FORWARD));
            again.EndDialog(fw::IDOK);
            return;
        }
        ASSERT_EQ(&d, &againReader);
        EXPECT_EQ(window_probe::Article(againReader), kapo);
        EXPECT_EQ(window_probe::BoxText(again), u"kapon");
        EXPECT_EQ(window_probe::Lines(again), (std::vector<std::u16string>{u"kapo", u"kapono"}));
        EXPECT_FALSE(again.m_list.GetHint(0).empty());
        EXPECT_EQ(objects.lookup.Refs(again.Listed(), 0), againReader.m_refs);
        EXPECT_EQ(objects.lookup.Headword(again.Listed(), 0), u"kapo");
        fw::testing::WindowWidget(againReader)->close();
    });
    again.DoModal();
    EXPECT_EQ(runs, 2) << "the search window, then the reader";
}

// The list offers base forms, marked, exactly when no headword begins with a
// one-word query, in the dictionary of the query's language; the lines of a
// range stay unmarked.
TEST_F(ReaderLoopTest, BaseFormsAreOfferedMarkedOnlyForAnEmptyRange) {
    struct Case {
        std::u16string typed;
        std::vector<std::u16string> lines;
        bool offered;
        bool russianDictionary; // needs hunspell-ru
    };
    const Case cases[] = {
        {u"hun", {u"hundo"}, false, false},
        {u"hundon", {u"hundo"}, true, false},
        {u"Katojn", {u"kato"}, true, false},
        {u"hundojn kato", {FullTextOfferLine(u"hundojn kato")}, false, false},
        {u"до", {u"дом", u"дома"}, false, false},
        {u"собаку", {u"собака"}, true, true},
        {u"домами", {u"дом", u"дома"}, true, true},
        {u"кошек", {u"кошка"}, true, true},
        {u"qqqjn", {FullTextOfferLine(u"qqqjn")}, false, false},
    };
    const bool haveDictionary =
        std::filesystem::exists(std::string(forms::kSystemRussianDictionary) + ".dic");
    Run(
        [&] {
            for (const Case& c : cases) {
                if (c.russianDictionary && !haveDictionary) {
                    continue;
                }
                SCOPED_TRACE(platform::ToUtf8(c.typed));
                main.GetEdit(IDC_SEARCH).SetWindowText(c.typed);
                EXPECT_EQ(window_probe::Lines(main), c.lines);
                // A list that stays empty offers the full-text search instead, marked.
                for (int k = 0; k < main.m_list.GetCount(); ++k) {
                    const bool headword = static_cast<std::size_t>(k) < main.Listed().LineCount();
                    EXPECT_EQ(main.m_list.GetHint(k).empty(), headword && !c.offered)
                        << "line " << k;
                }
                const bool esperanto = c.typed[0] < u'\u0400';
                EXPECT_EQ(main.Listed().esperanto, esperanto);
            }
        },
        {});
}

} // namespace

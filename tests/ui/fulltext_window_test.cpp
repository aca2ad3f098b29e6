// SPDX-License-Identifier: GPL-2.0-or-later
// The search window's full-text search with both windows real, offscreen, on
// a small dictionary with its full-text indexes: the results in the list a page
// at a time, an article opened with its matches marked and the first one in
// view, the history stepping back to it (after a restart too), a search
// dropped when the text changes, and an index that cannot answer offered for
// rebuilding while the headwords still answer.
#include "app/kelimbo_app.h"
#include "dictbuild/dictionary_build.h"
#include "reader_loop_harness.h"
#include "ui/fulltext_results.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace {

using fw::testing::ControlWidget;
using fw::testing::WindowWidget;
using reader_loop_harness::Click;

// «умный» stands in two Esperanto articles, twice in "saĝa"; no Russian
// headword is it or begins with it.
constexpr const char* kEsperantoSource = "hundo\tсобака\n"
                                         "inteligenta\tумный, смышлёный\n"
                                         "saĝa\tумный, мудрый; saĝa homo — умный человек\n"
                                         "stulta\tглупый\n";
constexpr const char* kRussianSource = "собака\thundo\n"
                                       "глупый\tstulta\n";

// The parts of the reader's article drawn with a background of their own, as
// the document's format has them.
std::vector<std::u16string> MarkedParts(const CLegiloDlg& reader) {
    auto* box = dynamic_cast<QPlainTextEdit*>(ControlWidget(reader, IDC_ARTICLE));
    std::vector<std::u16string> parts;
    if (box == nullptr) {
        return parts;
    }
    for (QTextBlock block = box->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().background().style() != Qt::NoBrush) {
                const QString text = fragment.text();
                parts.emplace_back(reinterpret_cast<const char16_t*>(text.utf16()),
                                   static_cast<std::size_t>(text.size()));
            }
        }
    }
    return parts;
}

// The text from the reader's caret to the end of its line.
std::u16string AtCaret(const CLegiloDlg& reader) {
    auto* box = dynamic_cast<QPlainTextEdit*>(ControlWidget(reader, IDC_ARTICLE));
    if (box == nullptr) {
        return {};
    }
    QTextCursor cursor = box->textCursor();
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    const QString text = cursor.selectedText();
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

// "vorto000", "vorto001", …
std::u16string Vorto(std::size_t k) {
    const std::string digits = std::to_string(1000 + k).substr(1);
    return u"vorto" + std::u16string(digits.begin(), digits.end());
}

void WaitForFullText(CKelimboDlg& main) {
    ASSERT_TRUE(QTest::qWaitFor([&] { return !main.FullTextBusy(); }, 20000))
        << "the full-text search did not answer";
}

class FullTextWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        Build(kEsperantoSource, kRussianSource);
        BuildFullTextIndexes();
    }

    void Build(const std::string& esperanto, const std::string& russian) {
        std::istringstream eo(esperanto);
        BuildFromSource(Language::Esperanto, ReadTsvSource(eo), dir.Path());
        std::istringstream ru(russian);
        BuildFromSource(Language::Russian, ReadTsvSource(ru), dir.Path());
    }

    // Both directions' full-text indexes, as the import writes them.
    void BuildFullTextIndexes() {
        LookupCore core(dir.AnsiPath(""));
        core.FullText().Rebuild(0, true);
        core.FullText().Rebuild(0, false);
    }

    // Starts the program on program objects of its own, as a new process
    // does; the main window and each reader run go to `main` and to the next
    // of `reads`.
    void Start(const std::function<void(CKelimboDlg&)>& main,
               const std::vector<std::function<void(CKelimboDlg&, CLegiloDlg&)>>& reads) {
        std::size_t next = 0;
        CKelimboDlg* mainWindow = nullptr;
        fw::testing::ScopedModalRun run([&](fw::Dialog& d) {
            if (auto* reader = dynamic_cast<CLegiloDlg*>(&d)) {
                ASSERT_NE(mainWindow, nullptr);
                ASSERT_LT(next, reads.size()) << "a reader run more than the script has";
                reads[next++](*mainWindow, *reader);
                return;
            }
            mainWindow = &dynamic_cast<CKelimboDlg&>(d);
            main(*mainWindow);
            WindowWidget(d)->close();
        });
        objects = std::make_unique<ProgramObjects>();
        CKelimboApp app;
        EXPECT_FALSE(app.Run(*objects, dictionary_fixture::ModulePath(dir)));
        EXPECT_EQ(next, reads.size()) << "reader runs";
    }

    static void Type(CKelimboDlg& main, std::u16string_view text) {
        gui_driver::Type(ControlWidget(main, IDC_SEARCH), text);
    }
    // Down from the box onto a line, then Enter, as the keyboard chooses.
    static void ChooseByKeys(CKelimboDlg& main, int line) {
        main.m_list.SetFocus();
        ASSERT_TRUE(main.m_list.SetCurSel(line));
        gui_driver::Key(ControlWidget(main, IDC_LIST), Qt::Key_Return);
    }

    testing_support::TempDir dir;
    fw::testing::MessageBoxCapture boxes;
    std::unique_ptr<ProgramObjects> objects;
};

TEST_F(FullTextWindowTest, AResultOpensMarkedWalksTheHistoryAndReopensAfterARestart) {
    const std::vector<std::u16string> marked = {u"умный", u"умный"};
    auto expectSagxa = [&](CLegiloDlg& reader, int line) {
        SCOPED_TRACE(::testing::Message() << "reader, line " << line);
        // As its headword's line opens it: no dictionary's heading.
        EXPECT_EQ(window_probe::Article(reader), u"умный, мудрый; saĝa homo — умный человек\r\n");
        EXPECT_EQ(MarkedParts(reader), marked);
        EXPECT_EQ(AtCaret(reader).substr(0, 5), u"умный") << "the first match is at the caret";
        // Named by its headword, not by the query it was found with.
        EXPECT_EQ(reader.GetWindowText(), u"saĝa — Kelimbo");
    };
    Start(
        [&](CKelimboDlg& main) {
            QWidget* box = ControlWidget(main, IDC_SEARCH);
            Type(main, u"stulta");
            ChooseByKeys(main, 0); // a first step, to come back to
            main.GetEdit(IDC_SEARCH).SetSel(0, -1);
            Type(main, u"умный");
            EXPECT_EQ(window_probe::Lines(main), std::vector{FullTextOfferLine(u"умный")})
                << "no headword: the search in the articles is offered";
            ASSERT_TRUE(gui_driver::Activate(box)); // again, after the reader's window
            gui_driver::Key(box, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
            WaitForFullText(main);
            const std::vector<std::u16string> lines = window_probe::Lines(main);
            ASSERT_EQ(lines.size(), 2u) << platform::ToUtf8(lines.at(0));
            EXPECT_TRUE(lines[0].starts_with(u"inteligenta — ")) << platform::ToUtf8(lines[0]);
            EXPECT_TRUE(lines[1].starts_with(u"saĝa — ")) << platform::ToUtf8(lines[1]);
            // The snippet shows the match, in bold.
            for (const std::size_t k : {0u, 1u}) {
                const std::vector<fw::Selection> bold = main.m_list.GetBold(static_cast<int>(k));
                ASSERT_FALSE(bold.empty()) << "line " << k;
                const auto start = static_cast<std::size_t>(bold[0].start);
                EXPECT_EQ(lines[k].substr(start, static_cast<std::size_t>(bold[0].end) - start),
                          u"умный");
            }
            ChooseByKeys(main, 1);
            // The reader has been left: its article is the newest step.
            EXPECT_EQ(window_probe::History(objects->theHistory),
                      (window_probe::HistoryState{{u"stulta", u"умный"}, 2}));
            EXPECT_TRUE(objects->theHistory.entries[1].isEsperanto);
        },
        {[&](CKelimboDlg&, CLegiloDlg& reader) { reader.EndDialog(fw::IDCANCEL); },
         [&](CKelimboDlg&, CLegiloDlg& reader) {
             expectSagxa(reader, __LINE__);
             Click(fw::testing::SoftKeyWidget(reader, ID_BACK));
         },
         [&](CKelimboDlg&, CLegiloDlg& reader) {
             EXPECT_EQ(window_probe::Article(reader), u"глупый\r\n");
             EXPECT_TRUE(MarkedParts(reader).empty()) << "a headword's article has no marks";
             Click(fw::testing::SoftKeyWidget(reader, ID_FORWARD));
         },
         [&](CKelimboDlg&, CLegiloDlg& reader) {
             expectSagxa(reader, __LINE__);
             reader.EndDialog(fw::IDCANCEL);
         }});

    // Again from the history file: "назад" reopens the article, marked.
    Start(
        [&](CKelimboDlg& main) {
            EXPECT_EQ(window_probe::BoxText(main), u"умный");
            Click(fw::testing::SoftKeyWidget(main, ID_BACK));
        },
        {[&](CKelimboDlg&, CLegiloDlg& reader) {
            expectSagxa(reader, __LINE__);
            reader.EndDialog(fw::IDCANCEL);
        }});
    for (const fw::testing::MessageBoxCall& call : boxes.Calls()) {
        ADD_FAILURE() << platform::ToUtf8(call.text);
    }
}

TEST_F(FullTextWindowTest, ResultsComeFiftyAPageAndTypingDropsARunningSearch) {
    std::string esperanto;
    for (std::size_t k = 0; k < 120; ++k) {
        esperanto += platform::ToUtf8(Vorto(k)) + "\tумный\n";
    }
    Build(esperanto, kRussianSource);
    BuildFullTextIndexes();
    Start(
        [&](CKelimboDlg& main) {
            ASSERT_TRUE(gui_driver::Activate(ControlWidget(main, IDC_SEARCH)));
            Type(main, u"умный");
            ChooseByKeys(main, 0); // the offer
            struct Step {
                std::size_t lines; // hits, and the next page's line when there is one
                bool more;         // the last line asks for the next page
                int selected;      // the first new result waits for Enter
            };
            const Step steps[] = {{51, true, 0}, {101, true, 50}, {120, false, 100}};
            for (const Step& step : steps) {
                SCOPED_TRACE(::testing::Message() << step.lines << " lines");
                WaitForFullText(main);
                const std::vector<std::u16string> lines = window_probe::Lines(main);
                ASSERT_EQ(lines.size(), step.lines);
                EXPECT_EQ(lines.back() == u"Ещё результаты…", step.more);
                EXPECT_EQ(main.m_list.GetCurSel(), step.selected);
                const std::size_t hits = step.more ? step.lines - 1 : step.lines;
                EXPECT_TRUE(lines[hits - 1].starts_with(Vorto(hits - 1) + u" — "))
                    << "in headword order";
                if (step.more) {
                    ChooseByKeys(main, static_cast<int>(step.lines) - 1);
                }
            }

            // A search dropped by typing never fills the list afterwards.
            main.SendMessage(fw::Msg::Command, ID_FULLTEXT);
            main.GetEdit(IDC_SEARCH).SetSel(0, -1);
            Type(main, u"vorto00");
            WaitForFullText(main);
            QTest::qWait(50);
            EXPECT_EQ(window_probe::Lines(main).size(), 10u) << "vorto000 … vorto009";
        },
        {});
}

TEST_F(FullTextWindowTest, AnIndexThatCannotAnswerIsNamedAndRebuiltOnYesWhileHeadwordsAnswer) {
    struct Case {
        const char* name;
        bool damaged; // else missing
        bool yes;     // the answer to the offer
    };
    const Case cases[] = {
        {"missing, declined", false, false},
        {"missing, rebuilt", false, true},
        {"damaged, rebuilt", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::filesystem::path index = dir.Path() / "EoRu_kelimbo.fts";
        if (c.damaged) {
            std::ofstream(index, std::ios::binary | std::ios::trunc) << std::string(4096, 'x');
        } else {
            std::filesystem::remove(index);
        }
        const std::size_t asked = boxes.Calls().size();
        boxes.AnswerYes(c.yes);
        Start(
            [&](CKelimboDlg& main) {
                Type(main, u"умный");
                main.SendMessage(fw::Msg::Command, ID_FULLTEXT);
                WaitForFullText(main);
                ASSERT_EQ(boxes.Calls().size(), asked + 1) << "asked once";
                EXPECT_EQ(boxes.Calls().back().icon, fw::MessageBoxIcon::Question);
                const std::vector<std::u16string> lines = window_probe::Lines(main);
                if (c.yes) {
                    ASSERT_EQ(lines.size(), 2u);
                    EXPECT_TRUE(lines[1].starts_with(u"saĝa — "));
                } else {
                    // The problem's line, then nothing found in the other direction.
                    ASSERT_EQ(lines.size(), 2u);
                    EXPECT_EQ(lines[1], u"В статьях «умный» не найдено");
                    // Asked once: the search again only names it.
                    main.SendMessage(fw::Msg::Command, ID_FULLTEXT);
                    WaitForFullText(main);
                    EXPECT_EQ(boxes.Calls().size(), asked + 1);
                }
                main.GetEdit(IDC_SEARCH).SetSel(0, -1);
                Type(main, u"hun");
                EXPECT_EQ(window_probe::Lines(main), std::vector<std::u16string>{u"hundo"});
            },
            {});
    }
}

} // namespace

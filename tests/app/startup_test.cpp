// SPDX-License-Identifier: GPL-2.0-or-later
// Start-up: the executable's folder, the indexes and the history loaded from
// it, the main window run, the history saved; and the "Ошибка" box for a
// failure before any window.
#include "app/kelimbo_app.h"
#include "errors/exc_msg.h"
#include "framework/test_hooks.h"
#include "platform/code_page.h"
#include "support/dictionary_fixture.h"
#include "support/gui_driver.h"
#include "ui/kelimbo_dlg.h"
#include "ui/legilo_dlg.h"
#include "ui/resource_ids.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using fw::testing::MessageBoxCapture;
using fw::testing::ScopedModalRun;
using platform::FromUtf8;
using testing_support::Cp1251;
using testing_support::TempDir;

class StartupTest : public ::testing::Test, protected dictionary_fixture::WithProgramObjects {
protected:
    TempDir dir;
    MessageBoxCapture boxes;
    CKelimboApp theApp;
};

TEST_F(StartupTest, RunsTheMainWindowOnTheFolderDataAndSavesTheHistory) {
    dictionary_fixture::WriteDataFiles(dir);
    ASSERT_FALSE(std::filesystem::exists(dir.File("historio.bin")));
    int runs = 0;
    ScopedModalRun run([&](fw::Dialog& d) {
        ++runs;
        auto& dlg = dynamic_cast<CKelimboDlg&>(d);
        EXPECT_EQ(theApp.m_pMainWnd, &dlg);
        ASSERT_NE(dlg.m_pLegilo, nullptr);
        EXPECT_EQ(dlg.m_pLegilo->Parent(), &dlg);
        EXPECT_EQ(ruIndex.Count(), dictionary_fixture::RussianHeadwords().size());
        EXPECT_EQ(eoIndex.Count(), dictionary_fixture::EsperantoHeadwords().size());
        EXPECT_EQ(ruProv.path, dir.AnsiPath("tarnesk_rusa_esperanto.txt"));
        EXPECT_EQ(eoProv.path, dir.AnsiPath("EoRu_kelimbo.txt"));
        EXPECT_EQ(theHistory.historyPath, dir.AnsiPath("historio.bin"));
        EXPECT_EQ(theHistory.eoTextPath, dir.AnsiPath("EoRu_kelimbo.txt"));
        EXPECT_EQ(theHistory.ruTextPath, dir.AnsiPath("tarnesk_rusa_esperanto.txt"));
        EXPECT_TRUE(theHistory.entries.empty()) << "no history file: an empty start";
        EXPECT_EQ(dlg.GetEdit(IDC_SEARCH).GetWindowText(), u"");
        EXPECT_EQ(dlg.m_list.GetCount(), 0);
        fw::testing::WindowWidget(dlg)->close(); // the caption's button
    });
    EXPECT_FALSE(theApp.Run(objects, dictionary_fixture::ModulePath(dir)));
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(boxes.Calls().empty());
    EXPECT_TRUE(std::filesystem::exists(dir.File("historio.bin"))) << "written after closing";
    EXPECT_EQ(theApp.m_pMainWnd, nullptr);
}

TEST_F(StartupTest, AMissingRussianIndexIsShownBeforeAnyWindowAndNothingElseIsTouched) {
    dictionary_fixture::WriteDataFiles(dir, /*withRuIndex=*/false);
    testing_support::WriteBytes(dir.File("historio.bin"), "not a history");
    bool windowShown = false;
    ScopedModalRun run([&](fw::Dialog& d) {
        windowShown = true;
        d.EndDialog(fw::IDOK);
    });
    EXPECT_FALSE(theApp.Run(objects, dictionary_fixture::ModulePath(dir)));

    ASSERT_EQ(boxes.Calls().size(), 1u);
    const fw::testing::MessageBoxCall& box = boxes.Calls()[0];
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(box.caption, u"Ошибка");
    EXPECT_EQ(box.icon, fw::MessageBoxIcon::Error);
    EXPECT_EQ(box.text, u"Ошибка при открытии файла индекса:\n" +
                            FromUtf8((dir.Path() / "tarnesk_rusa_esperanto.bsi").string()));
    EXPECT_FALSE(windowShown);
    EXPECT_EQ(eoIndex.Count(), 0u) << "EoRu_kelimbo.bsi, a good index, is never opened";
    EXPECT_TRUE(theHistory.historyPath.empty()) << "the history is not read";
    EXPECT_EQ(testing_support::ReadBytes(dir.File("historio.bin")), "not a history")
        << "nor written";
}

TEST_F(StartupTest, EveryStartUpFailureEndsTheRunInTheErrorBox) {
    struct Case {
        const char* what;
        std::function<void(const TempDir&)> prepare;
        std::function<std::string(const TempDir&)> module;
        std::u16string message;
    };
    const Case cases[] = {
        {"no module path", [](const TempDir&) {}, [](const TempDir&) { return std::string(); },
         u"Ошибка: GetModuleFileName"},
        {"a Russian index of another version",
         [](const TempDir& d) {
             dictionary_fixture::WriteDataFiles(d);
             testing_support::WriteBytes(d.File("tarnesk_rusa_esperanto.bsi"),
                                         std::string(28, '\2'));
         },
         dictionary_fixture::ModulePath, u"Неподходящая версия индексного файла"},
        {"no Esperanto index",
         [](const TempDir& d) {
             dictionary_fixture::WriteDataFiles(d);
             std::filesystem::remove(d.File("EoRu_kelimbo.bsi"));
         },
         dictionary_fixture::ModulePath,
         u"Ошибка при открытии файла индекса:\n" +
             FromUtf8((dir.Path() / "EoRu_kelimbo.bsi").string())},
        {"an Esperanto text as long as its index's, other bytes",
         [](const TempDir& d) {
             dictionary_fixture::WriteDataFiles(d);
             const std::string text = testing_support::ReadBytes(d.File("EoRu_kelimbo.txt"));
             testing_support::WriteBytes(d.File("EoRu_kelimbo.txt"), std::string(text.size(), 'x'));
         },
         dictionary_fixture::ModulePath,
         u"Файл словаря не соответствует индексу:\n" +
             FromUtf8((dir.Path() / "EoRu_kelimbo.txt").string()) + u"\n" +
             FromUtf8((dir.Path() / "EoRu_kelimbo.bsi").string())},
        {"a Russian text one byte longer than its index's",
         [](const TempDir& d) {
             dictionary_fixture::WriteDataFiles(d);
             const std::string text =
                 testing_support::ReadBytes(d.File("tarnesk_rusa_esperanto.txt"));
             testing_support::WriteBytes(d.File("tarnesk_rusa_esperanto.txt"), text + "r");
         },
         dictionary_fixture::ModulePath,
         u"Файл словаря не соответствует индексу:\n" +
             FromUtf8((dir.Path() / "tarnesk_rusa_esperanto.txt").string()) + u"\n" +
             FromUtf8((dir.Path() / "tarnesk_rusa_esperanto.bsi").string())},
    };
    for (const Case& c : cases) {
        ProgramObjects fresh;
        MessageBoxCapture captured;
        c.prepare(dir);
        bool windowShown = false;
        ScopedModalRun run([&](fw::Dialog& d) {
            windowShown = true;
            d.EndDialog(fw::IDOK);
        });
        EXPECT_FALSE(theApp.Run(fresh, c.module(dir))) << c.what;
        ASSERT_EQ(captured.Calls().size(), 1u) << c.what;
        EXPECT_EQ(captured.Calls()[0].text, c.message) << c.what;
        EXPECT_EQ(captured.Calls()[0].caption, u"Ошибка") << c.what;
        EXPECT_FALSE(windowShown) << c.what;
        EXPECT_FALSE(std::filesystem::exists(dir.File("historio.bin"))) << c.what;
    }
}

TEST_F(StartupTest, MissingDictionaryTextsDoNotStopTheStart) {
    dictionary_fixture::WriteDataFiles(dir);
    std::filesystem::remove(dir.File("EoRu_kelimbo.txt"));
    std::filesystem::remove(dir.File("tarnesk_rusa_esperanto.txt"));
    bool windowShown = false;
    ScopedModalRun run([&](fw::Dialog& d) {
        windowShown = true;
        d.EndDialog(fw::IDOK);
    });
    EXPECT_FALSE(theApp.Run(objects, dictionary_fixture::ModulePath(dir)));
    EXPECT_TRUE(windowShown);
    EXPECT_TRUE(boxes.Calls().empty());
}

// An import was killed after its journal was in place and before the new
// Russian index was renamed over the old one: the start finishes it.
TEST_F(StartupTest, AnImportKilledAmongItsRenamesIsFinishedBeforeTheIndexesLoad) {
    dictionary_fixture::WriteDataFiles(dir);
    const std::string temporary = ".tarnesk_rusa_esperanto.bsi.tmp0kill3d";
    std::filesystem::rename(dir.File("tarnesk_rusa_esperanto.bsi"), dir.File(temporary));
    testing_support::WriteBytes(dir.File(".kelimbo-commit"),
                                "kelimbo-commit 1\n" + temporary +
                                    " tarnesk_rusa_esperanto.bsi\nend\n");
    std::size_t russianHeadwords = 0;
    ScopedModalRun run([&](fw::Dialog& d) {
        russianHeadwords = ruIndex.Count();
        d.EndDialog(fw::IDOK);
    });
    EXPECT_FALSE(theApp.Run(objects, dictionary_fixture::ModulePath(dir)));
    EXPECT_TRUE(boxes.Calls().empty());
    EXPECT_EQ(russianHeadwords, dictionary_fixture::RussianHeadwords().size());
    EXPECT_FALSE(std::filesystem::exists(dir.File(".kelimbo-commit")));
    EXPECT_FALSE(std::filesystem::exists(dir.File(temporary)));
}

TEST_F(StartupTest, AnExceptionLeavingTheMainWindowIsShownAndTheHistoryIsNotSaved) {
    dictionary_fixture::WriteDataFiles(dir);
    ScopedModalRun run([](fw::Dialog&) { RaiseMsg("%s", "boom"); });
    EXPECT_FALSE(theApp.Run(objects, dictionary_fixture::ModulePath(dir)));
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].text, u"boom");
    EXPECT_FALSE(std::filesystem::exists(dir.File("historio.bin")));
}

TEST_F(StartupTest, TheHistoryOfTheLastRunIsLoadedAtTheNext) {
    dictionary_fixture::WriteDataFiles(dir);
    ScopedModalRun first([&](fw::Dialog& d) {
        theHistory.Push(u"ŝafo", {{0, 8}}, true);
        d.EndDialog(fw::IDOK);
    });
    theApp.Run(objects, dictionary_fixture::ModulePath(dir));

    ProgramObjects next; // the next process's
    std::vector<HistoryEntry> seen;
    ScopedModalRun second([&](fw::Dialog& d) {
        seen.assign(next.theHistory.entries.begin(), next.theHistory.entries.end());
        d.EndDialog(fw::IDOK);
    });
    theApp.Run(next, dictionary_fixture::ModulePath(dir));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].query, u"ŝafo");
    EXPECT_TRUE(seen[0].isEsperanto);
}

TEST_F(StartupTest, CtrlQAndCtrlWEndTheRunAndTheNextStartIsWhereItWas) {
    dictionary_fixture::WriteDataFiles(dir);
    const QRect place(30, 40, 520, 640);
    const struct {
        Qt::Key quit;
        bool maximise;
        int zoomKeys;
        int zoom;
    } cases[] = {{Qt::Key_Q, false, 1, 110}, {Qt::Key_W, true, 2, 150}}; // the zoom goes on
    for (const auto& c : cases) {
        ProgramObjects run;
        ScopedModalRun first([&](fw::Dialog& d) {
            run.theHistory.Push(u"ŝafo", {}, true);
            QWidget* window = fw::testing::WindowWidget(d);
            window->setGeometry(place);
            if (c.maximise) {
                window->showMaximized();
            }
            QApplication::processEvents();
            ASSERT_TRUE(gui_driver::Activate(window));
            for (int i = 0; i < c.zoomKeys; ++i) {
                gui_driver::Key(window, Qt::Key_Plus, Qt::ControlModifier);
            }
            gui_driver::Key(window, c.quit, Qt::ControlModifier);
        });
        std::filesystem::remove(dir.File("historio.bin"));
        EXPECT_FALSE(theApp.Run(run, dictionary_fixture::ModulePath(dir)));

        ProgramObjects next; // the next process's
        ScopedModalRun second([&](fw::Dialog& d) {
            QWidget* window = fw::testing::WindowWidget(d);
            EXPECT_EQ(window->isMaximized(), c.maximise);
            EXPECT_EQ(window->normalGeometry(), place);
            const QWidget* list = fw::testing::ControlWidget(d, IDC_LIST);
            EXPECT_EQ(qRound(100 * list->font().pointSizeF() / window->font().pointSizeF()),
                      c.zoom);
            EXPECT_EQ(next.theHistory.CurrentQuery(), u"ŝafo") << "the history was saved";
            d.EndDialog(fw::IDOK);
        });
        EXPECT_FALSE(theApp.Run(next, dictionary_fixture::ModulePath(dir)));
        EXPECT_TRUE(std::filesystem::exists(dir.File("kelimbo.conf"))) << "beside the program";
    }
}

TEST_F(StartupTest, TheCommandLinesWordIsInTheBoxAsTypedAndSoIsAWordSentLater) {
    dictionary_fixture::WriteDataFiles(dir);
    {
        ScopedModalRun first([&](fw::Dialog& d) {
            theHistory.Push(u"Ĉi", {}, true);
            d.EndDialog(fw::IDOK);
        });
        theApp.Run(objects, dictionary_fixture::ModulePath(dir));
    }
    QGuiApplication::clipboard()->setText(QString::fromUtf8(" «sxanc», "));
    const struct {
        InstanceRequest request;
        std::u16string box; // all of it selected
        std::vector<std::u16string> lines;
    } cases[] = {
        {{RequestKind::Lookup, u"sxa"}, u"ŝa", {u"ŝafo", u"ŝanco"}},
        {{RequestKind::Selection, u""}, u"ŝanc", {u"ŝanco"}},
        {{RequestKind::Raise, u""}, u"Ĉi", {u"Ĉinio"}}, // the history's
    };
    for (const auto& c : cases) {
        ProgramObjects fresh;
        const auto expectShown = [&](CKelimboDlg& dlg, const char* when) {
            EXPECT_EQ(dlg.GetEdit(IDC_SEARCH).GetWindowText(), c.box) << when;
            EXPECT_EQ(dlg.GetEdit(IDC_SEARCH).GetSel(),
                      (fw::Selection{0, static_cast<int>(c.box.size())}))
                << when;
            ASSERT_EQ(dlg.m_list.GetCount(), static_cast<int>(c.lines.size())) << when;
            for (std::size_t i = 0; i < c.lines.size(); ++i) {
                EXPECT_EQ(dlg.m_list.GetText(static_cast<int>(i)), c.lines[i]) << when;
            }
        };
        ScopedModalRun run([&](fw::Dialog& d) {
            auto& dlg = dynamic_cast<CKelimboDlg&>(d);
            expectShown(dlg, "at start-up");
            dlg.GetEdit(IDC_SEARCH).SetWindowText(u"ab");
            theApp.HandleRequest(c.request);
            if (c.request.kind != RequestKind::Raise) {
                expectShown(dlg, "sent later");
            }
            d.EndDialog(fw::IDOK);
        });
        theApp.m_request = c.request;
        EXPECT_FALSE(theApp.Run(fresh, dictionary_fixture::ModulePath(dir)));
    }
}

// A copy unpacked in a folder of any name starts, reads its articles and keeps
// its history there: the folder's bytes reach the file system unchanged. Only
// the message naming a missing file shows the name in its code page, with '?'
// for what Windows-1251 lacks.
TEST_F(StartupTest, StartsFromAFolderOfAnyName) {
    const struct {
        const char* folder;
        const char16_t* shown;
    } cases[] = {
        {"josé", u"jos?"},
        {"Elŝutoj", u"El?utoj"},
        {"日本", u"??"},
        {"bad\xff", u"bad?"},
    };
    dictionary_fixture::WriteDataFiles(dir);
    for (const auto& c : cases) {
        const std::filesystem::path folder = dir.Path() / c.folder;
        std::filesystem::create_directory(folder);
        for (const char* name : {"tarnesk_rusa_esperanto.bsi", "EoRu_kelimbo.bsi",
                                 "tarnesk_rusa_esperanto.txt", "EoRu_kelimbo.txt"}) {
            std::filesystem::copy_file(dir.File(name), folder / name);
        }
        const std::string module = (folder / "kelimbo").string();
        ProgramObjects run;
        std::u16string article;
        ScopedModalRun modal([&](fw::Dialog& d) {
            run.theHistory.Push(u"ŝafo", {{0, 8}}, true);
            article = run.lookup.EsperantoProvider().GetArticle(0, 8);
            d.EndDialog(fw::IDOK);
        });
        EXPECT_FALSE(theApp.Run(run, module)) << c.folder;
        EXPECT_TRUE(boxes.Calls().empty()) << c.folder;
        EXPECT_EQ(run.lookup.EsperantoIndex().Count(),
                  dictionary_fixture::EsperantoHeadwords().size())
            << c.folder;
        EXPECT_EQ(article, u"eeeeeeee") << c.folder;
        EXPECT_TRUE(std::filesystem::exists(folder / "historio.bin")) << c.folder;

        ProgramObjects next;
        std::u16string restored;
        ScopedModalRun second([&](fw::Dialog& d) {
            restored = next.theHistory.CurrentQuery();
            d.EndDialog(fw::IDOK);
        });
        EXPECT_FALSE(theApp.Run(next, module)) << c.folder;
        EXPECT_EQ(restored, u"ŝafo") << c.folder;

        std::filesystem::remove(folder / "tarnesk_rusa_esperanto.bsi");
        MessageBoxCapture failed;
        ProgramObjects broken;
        EXPECT_FALSE(theApp.Run(broken, module));
        ASSERT_EQ(failed.Calls().size(), 1u) << c.folder;
        EXPECT_EQ(failed.Calls()[0].text, u"Ошибка при открытии файла индекса:\n" +
                                              FromUtf8(dir.Path().string()) + u"/" + c.shown +
                                              u"/tarnesk_rusa_esperanto.bsi")
            << c.folder;
    }
}

} // namespace

// SPDX-License-Identifier: GPL-2.0-or-later
// Damaged data files through the window program's start-up: a damaged index
// stops it with the "Ошибка" box before any window, leaving the history file
// alone; a damaged history file starts it quietly with what could be read,
// and the history it saves on closing is whole.
#include "app/kelimbo_app.h"
#include "articles/dictionary_files.h"
#include "damage.h"
#include "framework/test_hooks.h"
#include "history/history.h"
#include "history/history_file.h"
#include "platform/code_page.h"
#include "support/dictionary_fixture.h"
#include "support/temp_dir.h"
#include "ui/kelimbo_dlg.h"
#include "ui/legilo_dlg.h"
#include "ui/resource_ids.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

namespace {

namespace fs = std::filesystem;
using platform::FromUtf8;
using platform::ToUtf8;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

struct StartupOutcome {
    int windows = 0;                // main windows run
    std::vector<std::string> boxes; // texts of the message boxes shown
};

class StartupWithDamagedFiles : public testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {kRussianFiles.index, kEsperantoFiles.index, kRussianFiles.text,
                                 kEsperantoFiles.text}) {
            fs::copy_file(fs::path(KELIMBO_SAMPLE_DIR) / name, dir.File(name));
        }
    }

    // One run of the program from the folder, on program objects of its own;
    // the main window is closed at once.
    StartupOutcome Start() {
        ProgramObjects objects;
        CKelimboApp app;
        StartupOutcome outcome;
        fw::testing::MessageBoxCapture boxes;
        fw::testing::ScopedModalRun run([&](fw::Dialog& d) {
            ++outcome.windows;
            d.EndDialog(1);
        });
        app.Run(objects, dictionary_fixture::ModulePath(dir));
        for (const auto& box : boxes.Calls()) {
            EXPECT_EQ(ToUtf8(box.caption), "Ошибка");
            EXPECT_EQ(box.owner, nullptr);
            outcome.boxes.push_back(ToUtf8(box.text));
        }
        return outcome;
    }

    std::string Path(const char* name) const { return dir.Path().string() + "/" + name; }

    TempDir dir;
};

TEST_F(StartupWithDamagedFiles, DamagedIndexShowsTheBoxAndNoWindow) {
    for (const char* name : {kRussianFiles.index, kEsperantoFiles.index}) {
        const std::string good = ReadBytes(dir.File(name));
        std::vector<damage::Variant> variants;
        const auto cuts = damage::CutAtEveryByte(good);
        for (std::size_t i = 0; i < cuts.size(); i += (i < 64 ? 1 : 37)) {
            variants.push_back(cuts[i]);
        }
        for (auto& v : damage::HugeFields(good, 28)) {
            variants.push_back(std::move(v));
        }
        for (auto& v : damage::FlippedBytes(good, 300, 1)) {
            variants.push_back(std::move(v));
        }
        const std::vector<std::string> allowed = {
            "Неподходящая версия индексного файла",
            "Ошибка при чтении файла индекса:\n \"" + Path(name) + "\"",
            "Недостаточно памяти",
        };
        WriteBytes(dir.File(kHistoryFileName), "untouched");
        for (const damage::Variant& variant : variants) {
            WriteBytes(dir.File(name), variant.bytes);
            const StartupOutcome outcome = Start();
            if (outcome.windows == 0) {
                ASSERT_EQ(outcome.boxes.size(), 1u) << variant.name;
                EXPECT_NE(std::find(allowed.begin(), allowed.end(), outcome.boxes[0]),
                          allowed.end())
                    << name << " " << variant.name << ": " << outcome.boxes[0];
                ASSERT_EQ(ReadBytes(dir.File(kHistoryFileName)), "untouched") << variant.name;
            } else {
                // The flip left a loadable index: a normal run that saved the history.
                EXPECT_TRUE(outcome.boxes.empty()) << variant.name;
                WriteBytes(dir.File(kHistoryFileName), "untouched");
            }
            ASSERT_EQ(ReadBytes(dir.File(name)), variant.bytes) << "the index was changed";
        }
        WriteBytes(dir.File(name), good);
    }
}

// The Russian index changed while the window runs, between two lookups.
// Replaced by rename, the window goes on with the index it opened; written
// over or cut, the next lookup ends the run with the read error naming the
// file. Never a crash or a hang.
TEST_F(StartupWithDamagedFiles, IndexChangedWhileTheWindowRunsGivesOldDataOrTheReadError) {
    const std::string good = ReadBytes(dir.File(kRussianFiles.index));
    const std::string other = ReadBytes(dir.File(kEsperantoFiles.index));
    for (const damage::ChangeCase& c : damage::kChangesWhileOpen) {
        WriteBytes(dir.File(kRussianFiles.index), good);
        ProgramObjects objects;
        CKelimboApp app;
        fw::testing::MessageBoxCapture boxes;
        std::vector<std::u16string> before;
        std::vector<std::u16string> after;
        fw::testing::ScopedModalRun run([&](fw::Dialog& d) {
            auto& dlg = dynamic_cast<CKelimboDlg&>(d);
            const auto typeAndRead = [&](const char16_t* text) {
                dlg.GetEdit(IDC_SEARCH).SetWindowText(text);
                std::vector<std::u16string> lines;
                for (int k = 0; k < dlg.m_list.GetCount(); ++k) {
                    lines.push_back(dlg.m_list.GetText(k));
                }
                return lines;
            };
            before = typeAndRead(u"д");
            damage::ChangeFile(dir.File(kRussianFiles.index), c.change, other);
            typeAndRead(u"до");
            after = typeAndRead(u"д");
            d.EndDialog(1);
        });
        app.Run(objects, dictionary_fixture::ModulePath(dir));
        ASSERT_FALSE(before.empty()) << c.name;
        std::vector<std::string> shown;
        for (const auto& box : boxes.Calls()) {
            shown.push_back(ToUtf8(box.text));
        }
        if (c.keepsOldData) {
            EXPECT_TRUE(shown.empty()) << c.name;
            EXPECT_EQ(after, before) << c.name;
        } else {
            EXPECT_EQ(shown, std::vector<std::string>{"Ошибка при чтении файла индекса:\n \"" +
                                                      Path(kRussianFiles.index) + "\""})
                << c.name;
        }
    }
}

// The Esperanto text changed while the window runs, between two readings of
// one article: `other` holds the same bytes turned around by a third, as long
// as the text and with every article elsewhere. Replaced by rename, the reader
// shows the article as before; written over in place or cut, it shows the read
// error naming the text, then an empty article. Never another word's article.
TEST_F(StartupWithDamagedFiles, TextChangedWhileTheWindowRunsGivesOldArticlesOrTheReadError) {
    const fs::path text = dir.File(kEsperantoFiles.text);
    const std::string good = ReadBytes(text);
    const std::string other = good.substr(good.size() / 3) + good.substr(0, good.size() / 3);
    for (const damage::ChangeCase& c : damage::kChangesWhileOpen) {
        WriteBytes(text, good);
        // Written long ago, as a dictionary is: a change now moves its time.
        fs::last_write_time(text, fs::file_time_type::clock::now() - std::chrono::hours(1));
        ProgramObjects objects;
        CKelimboApp app;
        fw::testing::MessageBoxCapture boxes;
        std::vector<std::u16string> articles;
        fw::testing::ScopedModalRun run([&](fw::Dialog& d) {
            if (auto* reader = dynamic_cast<CLegiloDlg*>(&d)) {
                articles.push_back(reader->GetEdit(IDC_ARTICLE).GetWindowText());
                d.EndDialog(fw::IDOK);
                return;
            }
            auto& dlg = dynamic_cast<CKelimboDlg&>(d);
            const auto read = [&] {
                dlg.GetEdit(IDC_SEARCH).SetWindowText(u"akvo");
                ASSERT_TRUE(dlg.m_list.SetCurSel(0));
                dlg.OnListSelChange();
            };
            read();
            damage::ChangeFile(text, c.change, other);
            read();
            d.EndDialog(fw::IDOK);
        });
        app.Run(objects, dictionary_fixture::ModulePath(dir));
        ASSERT_EQ(articles.size(), 2u) << c.name;
        EXPECT_EQ(articles[0], u"akvo вода\r\n") << c.name;
        std::vector<std::string> shown;
        for (const auto& box : boxes.Calls()) {
            shown.push_back(ToUtf8(box.text));
        }
        if (c.keepsOldData) {
            EXPECT_EQ(shown, std::vector<std::string>{}) << c.name;
            EXPECT_EQ(articles[1], articles[0]) << c.name;
        } else {
            EXPECT_EQ(shown, std::vector<std::string>{"Ошибка при чтении файла словаря:\n \"" +
                                                      Path(kEsperantoFiles.text) + "\""})
                << c.name;
            EXPECT_EQ(articles[1], u"") << c.name;
        }
    }
}

TEST_F(StartupWithDamagedFiles, MissingIndexNamesItsPath) {
    fs::remove(dir.File(kEsperantoFiles.index));
    StartupOutcome outcome = Start();
    EXPECT_EQ(outcome.windows, 0);
    EXPECT_EQ(outcome.boxes, std::vector<std::string>{"Ошибка при открытии файла индекса:\n" +
                                                      Path(kEsperantoFiles.index)});
    EXPECT_FALSE(fs::exists(dir.File(kHistoryFileName)));
}

TEST_F(StartupWithDamagedFiles, DamagedHistoryStartsQuietlyAndIsSavedWhole) {
    // A good history of a few entries, made through the program's own Save.
    {
        cHistory history;
        history.Load(Path(kHistoryFileName).c_str(), Path(kEsperantoFiles.text).c_str(),
                     Path(kRussianFiles.text).c_str());
        history.Push(u"ĉapelo", {{0, 16}}, true);
        history.Push(u"дорога", {{20, 40}}, false);
        history.Save();
    }
    const std::string good = ReadBytes(dir.File(kHistoryFileName));
    std::vector<damage::Variant> variants = damage::CutAtEveryByte(good);
    for (auto& v : damage::FlippedBytes(good, 200, 3)) {
        variants.push_back(std::move(v));
    }
    variants.push_back({"directory", ""});
    for (const damage::Variant& variant : variants) {
        std::error_code ignored;
        fs::remove_all(dir.File(kHistoryFileName), ignored);
        if (variant.name == "directory") {
            fs::create_directory(dir.File(kHistoryFileName));
        } else {
            WriteBytes(dir.File(kHistoryFileName), variant.bytes);
        }
        const StartupOutcome outcome = Start();
        ASSERT_EQ(outcome.windows, 1) << variant.name;
        ASSERT_TRUE(outcome.boxes.empty()) << variant.name;
        if (variant.name == "directory") {
            continue; // nothing can replace a folder; it stays as it was
        }
        // What was saved loads whole, with a cursor inside its entries.
        cHistory saved;
        saved.Load(Path(kHistoryFileName).c_str(), Path(kEsperantoFiles.text).c_str(),
                   Path(kRussianFiles.text).c_str());
        ASSERT_GE(saved.cursor, 0);
        ASSERT_LE(saved.cursor, static_cast<std::int32_t>(saved.entries.size()));
        ASSERT_GE(ReadBytes(dir.File(kHistoryFileName)).size(), 16u) << variant.name;
    }
}

} // namespace

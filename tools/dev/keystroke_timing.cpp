// SPDX-License-Identifier: GPL-2.0-or-later
// Measures one keystroke of the search window: the whole change handler,
// conversion, lookup and list update included, over a sequence of typed
// prefixes. Runs on a data folder, or on an index of N generated headwords.
//
//   keystroke-timing --folder DATA_FOLDER
//   keystroke-timing --generate N
#include "app/kelimbo_app.h"
#include "articles/dictionary_files.h"
#include "framework/test_hooks.h"
#include "index/index_writer.h"
#include "index/my_less.h"
#include "index/x_less.h"
#include "platform/code_page.h"
#include "support/temp_dir.h"
#include "ui/kelimbo_dlg.h"
#include "ui/resource_ids.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

// N Esperanto-like headwords in x-system form and N Russian ones.
void Generate(const testing_support::TempDir& dir, std::uint32_t count) {
    std::mt19937 random(42);
    const char* eoLetters[] = {"a", "b", "c", "cx", "d", "e", "f",  "g", "gx",
                               "h", "i", "j", "jx", "k", "l", "m",  "n", "o",
                               "p", "r", "s", "sx", "t", "u", "ux", "v", "z"};
    std::vector<HeadwordSource> eo;
    std::vector<HeadwordSource> ru;
    eo.reserve(count);
    ru.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        std::string word;
        std::string cyrillic;
        const int length = 3 + static_cast<int>(random() % 10);
        for (int k = 0; k < length; ++k) {
            word += eoLetters[random() % std::size(eoLetters)];
            cyrillic += static_cast<char>(0xE0 + random() % 32);
        }
        eo.push_back({word, {{i, i + 1}}});
        ru.push_back({cyrillic, {{i, i + 1}}});
    }
    WriteIndexFile(dir.AnsiPath(kEsperantoFiles.index).c_str(), x_less(), eo);
    WriteIndexFile(dir.AnsiPath(kRussianFiles.index).c_str(), my_less(), ru);
    testing_support::WriteBytes(dir.File(kEsperantoFiles.text), "");
    testing_support::WriteBytes(dir.File(kRussianFiles.text), "");
}

struct Timing {
    std::vector<double> micros;
    template <class F> void Measure(F&& f) {
        const auto start = std::chrono::steady_clock::now();
        f();
        const auto stop = std::chrono::steady_clock::now();
        micros.push_back(std::chrono::duration<double, std::micro>(stop - start).count());
    }
    void Report(const char* what) {
        const double first = micros.front();
        std::sort(micros.begin(), micros.end());
        const double median = micros[micros.size() / 2];
        const double p99 = micros[micros.size() * 99 / 100];
        std::printf("%-40s n %zu  median %.1f us  p99 %.1f us  max %.1f us  (first %.1f us)\n",
                    what, micros.size(), median, p99, micros.back(), first);
    }
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 3 ||
        (std::strcmp(argv[1], "--folder") != 0 && std::strcmp(argv[1], "--generate") != 0)) {
        std::fprintf(stderr, "usage: %s --folder DATA_FOLDER | --generate N\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    testing_support::TempDir dir;
    if (std::strcmp(argv[1], "--generate") == 0) {
        Generate(dir, static_cast<std::uint32_t>(std::stoul(argv[2])));
    } else {
        for (const char* name : {kRussianFiles.index, kEsperantoFiles.index, kRussianFiles.text,
                                 kEsperantoFiles.text}) {
            std::filesystem::copy_file(std::filesystem::path(argv[2]) / name, dir.File(name));
        }
    }

    // What a user types: Esperanto words with x-system pairs, Russian words.
    const std::vector<std::u16string> words = {u"sxafo",   u"cxapelo", u"gxardeno", u"auxtobuso",
                                               u"bona",    u"lingvo",  u"вода",     u"жук",
                                               u"абрикос", u"ёлка",    u"mangxi",   u"kelimbo"};
    Timing handler;
    Timing keystroke;
    fw::testing::ScopedModalRun run([&](fw::Dialog& d) {
        auto& dlg = dynamic_cast<CKelimboDlg&>(d);
        const fw::Edit box = dlg.GetEdit(IDC_SEARCH);
        QWidget* window = fw::testing::WindowWidget(dlg);
        QWidget* boxWidget = fw::testing::ControlWidget(dlg, IDC_SEARCH);
        for (int round = 0; round < 20; ++round) {
            for (const std::u16string& word : words) {
                // The handler alone: the keystroke's text in place, as the box
                // holds it when it notifies, then the whole handler.
                for (std::size_t n = 1; n <= word.size(); ++n) {
                    dlg.m_updating = true;
                    box.SetWindowText(word.substr(0, n));
                    dlg.m_updating = false;
                    handler.Measure([&] { dlg.OnSearchChange(); });
                }
                // A real keystroke: the key event, the handler, and a repaint of
                // the window with the new list.
                box.SetWindowText(u"");
                for (char16_t unit : word) {
                    keystroke.Measure([&] {
                        QTest::sendKeyEvent(QTest::Click, boxWidget, Qt::Key_unknown,
                                            QString(QChar(unit)), Qt::NoModifier);
                        window->repaint();
                    });
                }
            }
        }
        dlg.EndDialog(fw::IDOK);
    });
    fw::testing::MessageBoxCapture boxes;
    ProgramObjects objects;
    CKelimboApp app;
    app.Run(objects, (dir.Path() / "kelimbo").string());
    if (!boxes.Calls().empty()) {
        std::fprintf(stderr, "%s\n", platform::ToUtf8(boxes.Calls()[0].text).c_str());
        return 1;
    }
    std::printf("headwords: ru %u, eo %u\n", objects.lookup.RussianIndex().Count(),
                objects.lookup.EsperantoIndex().Count());
    handler.Report("OnSearchChange (list filled)");
    keystroke.Report("key event, handler and repaint");
    return 0;
}

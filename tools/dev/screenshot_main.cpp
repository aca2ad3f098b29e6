// SPDX-License-Identifier: GPL-2.0-or-later
// Saves a picture of the real search window, made offscreen: start-up runs on
// a copy of a data folder, the given text is typed into the box, and the
// window is grabbed.
//
//   kelimbo-screenshot OUT.png DATA_FOLDER [TYPED]
#include "app/kelimbo_app.h"
#include "articles/dictionary_files.h"
#include "framework/test_hooks.h"
#include "platform/code_page.h"
#include "support/gui_driver.h"
#include "support/temp_dir.h"
#include "ui/resource_ids.h"

#include <QApplication>
#include <QPixmap>
#include <QWidget>

#include <cstdio>
#include <filesystem>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUT.png DATA_FOLDER [TYPED]\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    const QString out = QString::fromLocal8Bit(argv[1]);
    const std::filesystem::path data = argv[2];
    const std::u16string typed = argc > 3 ? platform::FromUtf8(argv[3]) : u"cx";

    // A copy, so the data folder's history stays as it was.
    testing_support::TempDir folder;
    for (const char* name :
         {kRussianFiles.index, kEsperantoFiles.index, kRussianFiles.text, kEsperantoFiles.text}) {
        std::filesystem::copy_file(data / name, folder.File(name));
    }
    bool saved = false;
    fw::testing::MessageBoxCapture boxes;
    fw::testing::ScopedModalRun run([&](fw::Dialog& dlg) {
        QWidget* box = fw::testing::ControlWidget(dlg, IDC_SEARCH);
        if (!gui_driver::Activate(box)) {
            std::fprintf(stderr, "the window did not become active\n");
        }
        gui_driver::Type(box, typed);
        QApplication::processEvents();
        saved = fw::testing::WindowWidget(dlg)->grab().save(out);
        dlg.EndDialog(fw::IDOK);
    });
    ProgramObjects objects;
    CKelimboApp app;
    app.Run(objects, (folder.Path() / "kelimbo").string());
    for (const auto& box : boxes.Calls()) {
        std::fprintf(stderr, "%s\n", platform::ToUtf8(box.text).c_str());
    }
    return saved ? 0 : 1;
}

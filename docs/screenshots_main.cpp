// SPDX-License-Identifier: GPL-2.0-or-later
// The README's pictures: start-up runs offscreen on a copy of a data folder,
// at the search window's first size; TYPED is typed into the box and the
// window grabbed; Down, LINE more Downs and Enter open the reader, which is
// grabbed in turn. --dark grabs both in a dark palette, to check the colours.
//
//   kelimbo-screenshots DATA_FOLDER OUT_FOLDER [--dark] [TYPED [LINE]]
#include "app/kelimbo_app.h"
#include "articles/dictionary_files.h"
#include "framework/test_hooks.h"
#include "platform/code_page.h"
#include "support/gui_driver.h"
#include "support/temp_dir.h"
#include "ui/kelimbo_dlg.h"
#include "ui/resource_ids.h"

#include <QApplication>
#include <QPalette>
#include <QPixmap>
#include <QStyleFactory>
#include <QWidget>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

QPalette DarkPalette() {
    QPalette dark;
    const QColor window(0x2B, 0x2B, 0x2B), base(0x1E, 0x1E, 0x1E), text(0xE8, 0xE8, 0xE8);
    dark.setColor(QPalette::Window, window);
    dark.setColor(QPalette::WindowText, text);
    dark.setColor(QPalette::Base, base);
    dark.setColor(QPalette::AlternateBase, window);
    dark.setColor(QPalette::Text, text);
    dark.setColor(QPalette::Button, window);
    dark.setColor(QPalette::ButtonText, text);
    dark.setColor(QPalette::Highlight, QColor(0x3D, 0x7A, 0xD6));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    dark.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x80, 0x80, 0x80));
    return dark;
}

bool Save(QWidget* window, const std::filesystem::path& file) {
    QApplication::processEvents();
    const bool saved = window->grab().save(QString::fromStdString(file.string()));
    if (!saved) {
        std::fprintf(stderr, "could not write %s\n", file.c_str());
    }
    return saved;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const bool dark = std::erase(args, "--dark") > 0;
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: %s DATA_FOLDER OUT_FOLDER [--dark] [TYPED [LINE]]\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    if (dark) {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QApplication::setPalette(DarkPalette());
    }
    const std::filesystem::path data = args[0];
    const std::filesystem::path out = args[1];
    const std::u16string typed = platform::FromUtf8(args.size() > 2 ? args[2] : "sxa");
    const int line = args.size() > 3 ? std::stoi(args[3]) : 0;

    // A copy, so that the data folder's history and settings stay as they are.
    testing_support::TempDir folder;
    for (const char* name :
         {kRussianFiles.index, kEsperantoFiles.index, kRussianFiles.text, kEsperantoFiles.text}) {
        std::filesystem::copy_file(data / name, folder.File(name));
    }
    int saved = 0;
    fw::testing::MessageBoxCapture boxes;
    fw::testing::ScopedModalRun run([&](fw::Dialog& dlg) {
        QWidget* window = fw::testing::WindowWidget(dlg);
        if (dynamic_cast<CKelimboDlg*>(&dlg) == nullptr) {
            saved += Save(window, out / "screenshot-reader.png");
            dlg.EndDialog(fw::IDOK);
            return;
        }
        QWidget* box = fw::testing::ControlWidget(dlg, IDC_SEARCH);
        if (!gui_driver::Activate(box)) {
            std::fprintf(stderr, "the window did not become active\n");
        }
        gui_driver::Type(box, typed);
        saved += Save(window, out / "screenshot-main.png");
        QWidget* list = fw::testing::ControlWidget(dlg, IDC_LIST);
        gui_driver::Key(box, Qt::Key_Down);
        for (int i = 0; i < line; ++i) {
            gui_driver::Key(list, Qt::Key_Down);
        }
        gui_driver::Key(list, Qt::Key_Return);
        dlg.EndDialog(fw::IDOK);
    });
    ProgramObjects objects;
    CKelimboApp app;
    app.Run(objects, (folder.Path() / "kelimbo").string());
    for (const auto& box : boxes.Calls()) {
        std::fprintf(stderr, "%s\n", platform::ToUtf8(box.text).c_str());
    }
    return saved == 2 ? 0 : 1;
}

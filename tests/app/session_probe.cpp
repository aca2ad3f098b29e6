// SPDX-License-Identifier: GPL-2.0-or-later
// The window program with a scripted user instead of a person, for the tests
// of how a run ends: `kelimbo-session-probe WORD` is the program itself (the
// command line, the running program's socket, the signals, the history and
// the settings), whose user types WORD, chooses the first headword of the
// list, goes back from the article to the search window, and then waits,
// leaving the window open until the program is ended from outside. "ready"
// on the standard output tells that the user has done so and the event loop
// has run for a moment since.
#include "app/kelimbo_app.h"
#include "framework/test_hooks.h"
#include "platform/code_page.h"
#include "support/gui_driver.h"
#include "ui/kelimbo_dlg.h"
#include "ui/resource_ids.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QWidget>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s WORD\n", argv[0]);
        return 2;
    }
    const std::u16string word = platform::FromUtf8(argv[1]);
    CKelimboApp app;
    bool scripted = false;
    const fw::testing::ScopedModalRun user([&](fw::Dialog& dialog) {
        auto* search = dynamic_cast<CKelimboDlg*>(&dialog);
        if (search == nullptr) {
            // The reader: "назад", as its key or Alt+Left would.
            dialog.SendMessage(fw::Msg::Command, ID_BACK);
            return;
        }
        if (!scripted) {
            scripted = true;
            gui_driver::Type(fw::testing::ControlWidget(*search, IDC_SEARCH), word);
            gui_driver::ClickLine(fw::testing::ControlWidget(*search, IDC_LIST), 0);
            // A moment of the event loop, as after any step of a user.
            QElapsedTimer moment;
            moment.start();
            while (moment.elapsed() < 50) {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            }
            std::puts("ready");
            std::fflush(stdout);
        }
        QWidget* window = fw::testing::WindowWidget(*search);
        while (window->isVisible()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
    });
    char* args[] = {argv[0], nullptr};
    return KelimboMain(app, 1, args);
}

// SPDX-License-Identifier: GPL-2.0-or-later
#include "framework/app.h"

#include <QApplication>

namespace fw {

namespace {
App* theApplication = nullptr;
}

App::App() {
    theApplication = this;
}

App::~App() {
    if (theApplication == this) {
        theApplication = nullptr;
    }
}

App* GetApp() {
    return theApplication;
}

int RunApplication(int argc, char** argv) {
    QApplication application(argc, argv);
    App* app = GetApp();
    if (app == nullptr) {
        return 1;
    }
    // Windows come and go inside InitInstance; none of them ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    if (!app->InitInstance()) {
        return 0;
    }
    QApplication::setQuitOnLastWindowClosed(true);
    return QApplication::exec();
}

} // namespace fw

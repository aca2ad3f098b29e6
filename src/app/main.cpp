// SPDX-License-Identifier: GPL-2.0-or-later
// Kelimbo: the command line, one running program per user, and the framework
// running the application object's start-up hook.
#include "app/kelimbo_app.h"

// The application object, constructed before main as the framework expects.
CKelimboApp theApp;

int main(int argc, char** argv) {
    return KelimboMain(theApp, argc, argv);
}

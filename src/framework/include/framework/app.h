// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The application object: one per program, constructed before main (it does
// not touch the toolkit then). RunApplication creates the toolkit's
// application and calls InitInstance; false ends the program at once, true
// runs the toolkit's event loop until the program quits.

namespace fw {

class Dialog;

class App {
public:
    App();
    virtual ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    virtual bool InitInstance() { return true; }

    // The program's main window.
    Dialog* m_pMainWnd = nullptr;
};

// The program's application object, or null.
App* GetApp();

// The whole of main: returns the process's exit code.
int RunApplication(int argc, char** argv);

} // namespace fw

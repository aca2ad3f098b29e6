// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The application object: its start-up hook is the whole run of the program.

#include "framework/app.h"
#include "instance/instance_message.h"
#include "instance/single_instance.h"
#include "ui/program_objects.h"

#include <optional>
#include <string>
#include <string_view>

class CKelimboDlg;

class CKelimboApp : public fw::App {
public:
    // Runs the program for the executable that is running, with the
    // program's objects created here for the whole run, serving later starts
    // on m_instance's socket; always false.
    bool InitInstance() override;

    // The run for an executable at modulePath (the file system's bytes;
    // empty: the system could not tell) over the given objects: loads both
    // indexes and sets the providers' paths from the dictionary folder
    // (articles/dictionary_location.h), loads the history (whose stamps
    // follow those text files) and the settings, runs the main window with
    // m_request's word, saves the settings and the history. A cExcMsg on the
    // way is shown in the "Ошибка" box and ends the run. Always false.
    bool Run(ProgramObjects& objects, std::string_view modulePath);

    // A request of the command line or of a later start: the main window
    // shows its word, or the selected text, or comes to the front. Nothing
    // happens while no main window runs.
    void HandleRequest(const InstanceRequest& request);

    // What the command line asked for at start-up (Raise: nothing particular).
    InstanceRequest m_request;
    // Where later starts find this one (none: they cannot).
    std::optional<InstancePlace> m_instance;

private:
    CKelimboDlg* m_main = nullptr;
};

// The program: --help, --version and wrong usage are answered at once, with
// no display needed. Otherwise the request goes to a Kelimbo of the same user
// that is already running, if there is one, and this start ends; if there is
// none, this start runs `app` and serves the starts that follow it. The
// process's exit status: 0, 1 when a running Kelimbo did not take the
// request, 2 for wrong usage.
int KelimboMain(CKelimboApp& app, int argc, char** argv);

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The application object: its start-up hook is the whole run of the program.

#include "framework/app.h"
#include "instance/instance_message.h"
#include "instance/single_instance.h"
#include "ui/program_objects.h"

#include <deque>
#include <optional>
#include <string>
#include <string_view>

class CKelimboDlg;
class QTimer;

class CKelimboApp : public fw::App {
public:
    // Runs the program for the executable that is running, with the
    // program's objects created here for the whole run; SIGTERM, SIGHUP and
    // SIGINT end it as Quit does. Always false.
    bool InitInstance() override;

    // The run for an executable at modulePath (the file system's bytes;
    // empty: the system could not tell) over the given objects: serves later
    // starts on m_instance's socket (if set), loads both indexes and sets the
    // providers' paths from the dictionary folder
    // (articles/dictionary_location.h), loads the history (whose stamps
    // follow those text files) and the settings, runs the main window with
    // m_request's word, saves the settings and the history. While the window
    // runs, the history file is also saved after each change of the history,
    // from the event loop once the step that changed it is done. A cExcMsg on
    // the way is shown in the "Ошибка" box and ends the run. Always false.
    bool Run(ProgramObjects& objects, std::string_view modulePath);

    // A request of a later start, as the socket hands it over: taken (true)
    // while the main window runs and the program is not ending, and then
    // shown from the event loop once no message box is open, in the order
    // the requests came; refused (false) otherwise.
    bool TakeRequest(const InstanceRequest& request);

    // A request of the command line or of a later start, at once: the main
    // window shows its word, or the selected text, or comes to the front.
    // Nothing happens while no main window runs.
    void HandleRequest(const InstanceRequest& request);

    // Ends the run as Ctrl+Q does: open message boxes close as their OK
    // button would, then the window in front ends the program; later
    // requests are refused.
    void Quit();

    // What the command line asked for at start-up (Raise: nothing particular).
    InstanceRequest m_request;
    // Where later starts find this one (none: they cannot).
    std::optional<InstancePlace> m_instance;

private:
    // Shows the taken requests, or waits while a message box is open.
    void ShowTaken();

    CKelimboDlg* m_main = nullptr;
    bool m_quitting = false;
    std::deque<InstanceRequest> m_taken;
    QTimer* m_showTaken = nullptr; // Run's, while it runs
};

// The program: --help, --version and wrong usage are answered at once, with
// no display needed. Otherwise the request goes to a Kelimbo of the same user
// that is already running, if there is one, and this start ends; if there is
// none, this start runs `app` and serves the starts that follow it. The
// process's exit status: 0, 1 when a running Kelimbo did not take the
// request (it did not answer, or refused it), 2 for wrong usage.
int KelimboMain(CKelimboApp& app, int argc, char** argv);

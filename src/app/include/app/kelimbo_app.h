#pragma once
// The application object: its start-up hook is the whole run of the program.

#include "framework/app.h"
#include "ui/program_objects.h"

#include <string>
#include <string_view>

class CKelimboApp : public fw::App {
public:
    // Runs the program for the executable that is running, with the
    // program's objects created here for the whole run; always false.
    bool InitInstance() override;

    // The run for an executable at modulePath (empty: the system could not
    // tell) over the given objects: loads both indexes, sets the providers'
    // paths, loads the history, runs the main window, saves the history. A
    // cExcMsg on the way is shown in the "Ошибка" box and ends the run.
    // Always false.
    bool Run(ProgramObjects& objects, std::u16string_view modulePath);
};

// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/kelimbo_app.h"

#include "app/command_line.h"
#include "app/quit_signals.h"
#include "articles/dictionary_location.h"
#include "dictbuild/staged_files.h"
#include "errors/exc_msg.h"
#include "framework/clipboard.h"
#include "framework/message_box.h"
#include "history/history_file.h"
#include "history/history_location.h"
#include "lookup/lookup_core.h"
#include "platform/ansi_literal.h"
#include "platform/module_path.h"
#include "ui/kelimbo_dlg.h"
#include "ui/legilo_dlg.h"
#include "ui/selected_word.h"
#include "wordlist/word_list_location.h"

#include <QScopeGuard>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

// How long a later start waits for the running program to listen and answer.
constexpr std::chrono::milliseconds kHandOverPatience{3000};
// How often taken requests look whether the message box they wait for has closed.
constexpr std::chrono::milliseconds kBoxPause{50};

// The selected text, trimmed as the translate button trims a selection.
std::u16string SelectedText() {
    const std::u16string text = fw::SelectionText();
    return SelectedWord(text, 0, text.size());
}

} // namespace

bool CKelimboApp::InitInstance() {
    ProgramObjects objects;
    const QuitSignals endSignals([this] { Quit(); });
    return Run(objects, platform::ModuleFileName());
}

bool CKelimboApp::Run(ProgramObjects& objects, std::string_view modulePath) {
    m_quitting = false;
    QTimer showTaken;
    showTaken.setSingleShot(true);
    QObject::connect(&showTaken, &QTimer::timeout, &showTaken, [this] { ShowTaken(); });
    m_showTaken = &showTaken;
    const QScopeGuard forgetTaken([this] {
        m_showTaken = nullptr;
        m_taken.clear();
    });
    std::unique_ptr<InstanceServer> server;
    if (m_instance) {
        server = std::make_unique<InstanceServer>(
            [this](const InstanceRequest& request) { return TakeRequest(request); });
        if (!server->Listen(m_instance->socket)) {
            std::fprintf(stderr, "kelimbo: later starts cannot reach this one (%s)\n",
                         m_instance->socket.toLocal8Bit().constData());
            server.reset();
        }
    }
    try {
        if (modulePath.empty()) {
            RaiseMsg("%s", platform::Ansi(u8"Ошибка: GetModuleFileName").c_str());
        }
        const std::string folder = platform::ModuleFolder(modulePath);
        const std::string data = DictionaryFolderOf(folder);
        // An import killed among its renames is finished before anything is read.
        if (const std::string problem = FinishInterruptedCommit(data); !problem.empty()) {
            std::fprintf(stderr, "kelimbo: %s\n", problem.c_str());
        }

        objects.dataFolder = data;
        std::vector<std::string> messages;
        objects.lookup.Open(DictionarySourcesOf(data, messages));
        for (const std::string& message : messages) {
            std::fprintf(stderr, "kelimbo: %s\n", message.c_str());
        }
        objects.lookup.Load();
        KeepHistoryInStep(objects);
        objects.theHistory.Load(HistoryFilePath(folder, kHistoryFileName).c_str(),
                                objects.lookup.TextPath(true).c_str(),
                                objects.lookup.TextPath(false).c_str());
        objects.words = wordlist::WordList(wordlist::WordListFilePath(folder));
        objects.words.Load();
        for (const std::string& message : objects.words.Messages()) {
            std::fprintf(stderr, "kelimbo: %s\n", message.c_str());
        }
        objects.settings.Load(folder);

        // Each change of the history is saved once the step that made it is
        // done, from the event loop: a crash or a power cut then costs at
        // most the step in progress. The changes of one step make one save.
        // The word list's look-up counts go with it (its own changes are
        // saved as they are made).
        QTimer saveHistory;
        saveHistory.setSingleShot(true);
        QObject::connect(&saveHistory, &QTimer::timeout, &saveHistory, [&objects] {
            objects.theHistory.Save();
            if (objects.words.Unsaved()) {
                objects.words.Save();
            }
        });
        objects.theHistory.onChange = [&saveHistory] { saveHistory.start(0); };
        const QScopeGuard unhook([&objects] { objects.theHistory.onChange = nullptr; });

        CKelimboDlg dlg(objects, nullptr);
        m_pMainWnd = &dlg;
        m_main = &dlg;
        const QScopeGuard forget([this] {
            m_pMainWnd = nullptr;
            m_main = nullptr;
        });
        CLegiloDlg legilo(objects, &dlg);
        dlg.m_pLegilo = &legilo;
        if (m_request.kind == RequestKind::Lookup) {
            dlg.m_startWord = m_request.word;
        } else if (m_request.kind == RequestKind::Selection) {
            dlg.m_startWord = SelectedText();
        }

        dlg.DoModal();
        objects.settings.Save();
        objects.theHistory.Save();
        if (objects.words.Unsaved()) {
            objects.words.Save();
        }
    } catch (const cExcMsg& e) {
        fw::MessageBox(nullptr, e.GetMsg(), u"Ошибка", fw::MessageBoxIcon::Error);
    }
    return false; // no message loop of the framework's own
}

bool CKelimboApp::TakeRequest(const InstanceRequest& request) {
    if (m_main == nullptr || m_quitting || m_showTaken == nullptr) {
        return false;
    }
    m_taken.push_back(request);
    m_showTaken->start(0);
    return true;
}

void CKelimboApp::ShowTaken() {
    if (fw::MessageBoxIsOpen()) {
        // The box's own loop runs now; the requests wait until it has closed.
        m_showTaken->start(kBoxPause);
        return;
    }
    while (!m_taken.empty() && m_main != nullptr && !m_quitting) {
        const InstanceRequest request = std::move(m_taken.front());
        m_taken.pop_front();
        HandleRequest(request);
    }
}

void CKelimboApp::Quit() {
    m_quitting = true;
    fw::CloseMessageBoxes();
    if (m_main != nullptr) {
        m_main->Quit();
    }
}

void CKelimboApp::HandleRequest(const InstanceRequest& request) {
    if (m_main == nullptr) {
        return;
    }
    switch (request.kind) {
    case RequestKind::Lookup:
        m_main->ShowWord(request.word);
        break;
    case RequestKind::Selection:
        m_main->ShowWord(SelectedText());
        break;
    case RequestKind::Raise:
        m_main->BringToFront();
        break;
    }
}

int KelimboMain(CKelimboApp& app, int argc, char** argv) {
    const std::vector<std::string_view> args(argv + std::min(argc, 1), argv + argc);
    const CommandLine line = ParseCommandLine(args);
    switch (line.action) {
    case CommandAction::Help:
        std::fputs(UsageText().c_str(), stdout);
        return 0;
    case CommandAction::Version:
        std::fputs(VersionText().c_str(), stdout);
        return 0;
    case CommandAction::UsageError:
        std::fprintf(stderr, "kelimbo: %s\n%s", line.error.c_str(), UsageText().c_str());
        return 2;
    case CommandAction::Run:
        break;
    }

    Election election;
    if (const std::optional<InstancePlace> place = FindInstancePlace()) {
        election = Elect(*place, line.request, kHandOverPatience);
    }
    switch (election.outcome) {
    case Election::Outcome::HandedOver:
        return 0;
    case Election::Outcome::NoAnswer:
        std::fprintf(stderr, "kelimbo: the running Kelimbo did not answer\n");
        return 1;
    case Election::Outcome::Refused:
        std::fprintf(stderr, "kelimbo: the running Kelimbo cannot take a request now "
                             "(it shows no window, or it is ending)\n");
        return 1;
    case Election::Outcome::Primary:
        app.m_instance = election.place;
        break;
    case Election::Outcome::Alone:
        break;
    }
    app.m_request = line.request;
    // The toolkit sees the program's name alone: the word is no option of its.
    char name[] = "kelimbo";
    int toolkitArgc = 1;
    char* toolkitArgv[] = {argc > 0 && argv[0] != nullptr ? argv[0] : name, nullptr};
    return fw::RunApplication(toolkitArgc, toolkitArgv);
}

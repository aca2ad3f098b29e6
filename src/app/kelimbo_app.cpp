#include "app/kelimbo_app.h"

#include "articles/dictionary_files.h"
#include "errors/exc_msg.h"
#include "framework/message_box.h"
#include "history/history_file.h"
#include "history/history_location.h"
#include "platform/ansi_literal.h"
#include "platform/module_path.h"
#include "ui/kelimbo_dlg.h"
#include "ui/legilo_dlg.h"

#include <QScopeGuard>

bool CKelimboApp::InitInstance() {
    ProgramObjects objects;
    return Run(objects, platform::ModuleFileName());
}

bool CKelimboApp::Run(ProgramObjects& objects, std::u16string_view modulePath) {
    try {
        if (modulePath.empty()) {
            RaiseMsg("%s", platform::Ansi(u8"Ошибка: GetModuleFileName").c_str());
        }
        const std::string folder = platform::ModuleFolder(modulePath);

        objects.ruIndex.Load((folder + kRussianFiles.index).c_str());
        objects.eoIndex.Load((folder + kEsperantoFiles.index).c_str());
        objects.ruProv.path = folder + kRussianFiles.text;
        objects.eoProv.path = folder + kEsperantoFiles.text;
        objects.theHistory.Load(HistoryFilePath(folder, kHistoryFileName).c_str(),
                                objects.eoProv.path.c_str(), objects.ruProv.path.c_str());

        CKelimboDlg dlg(objects, nullptr);
        m_pMainWnd = &dlg;
        const QScopeGuard forget([this] { m_pMainWnd = nullptr; });
        CLegiloDlg legilo(objects, &dlg);
        dlg.m_pLegilo = &legilo;

        dlg.DoModal();
        objects.theHistory.Save();
    } catch (const cExcMsg& e) {
        fw::MessageBox(nullptr, e.GetMsg(), u"Ошибка", fw::MessageBoxIcon::Error);
    }
    return false; // no message loop of the framework's own
}

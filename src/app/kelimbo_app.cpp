#include "app/kelimbo_app.h"

#include "errors/exc_msg.h"
#include "framework/message_box.h"
#include "history/history_location.h"
#include "platform/ansi_literal.h"
#include "platform/module_path.h"
#include "ui/kelimbo_dlg.h"
#include "ui/legilo_dlg.h"

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

        objects.ruIndex.Load((folder + kRuIndexFile).c_str());
        objects.eoIndex.Load((folder + kEoIndexFile).c_str());
        objects.ruProv.path = folder + kRuTextFile;
        objects.eoProv.path = folder + kEoTextFile;
        objects.theHistory.Load(HistoryFilePath(folder, kHistoryFile).c_str(),
                                (folder + kEoTextFile).c_str(), (folder + kRuTextFile).c_str());

        CKelimboDlg dlg(objects, nullptr);
        m_pMainWnd = &dlg;
        struct ForgetMainWindow {
            fw::Dialog*& window;
            ~ForgetMainWindow() { window = nullptr; }
        } forget{m_pMainWnd};
        CLegiloDlg legilo(objects, &dlg);
        dlg.m_pLegilo = &legilo;

        dlg.DoModal();
        objects.theHistory.Save();
    } catch (const cExcMsg& e) {
        fw::MessageBox(nullptr, e.GetMsg(), u"Ошибка", fw::MessageBoxIcon::Error);
    }
    return false; // no message loop of the framework's own
}

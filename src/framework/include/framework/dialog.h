#pragma once
// Modal dialogs. A Dialog object lives long; its window is created anew from
// the dialog template by each DoModal and destroyed when the run ends.
// Notifications reach the dialog through OnMessage, which derived classes
// answer from their command map.

#include "framework/controls.h"
#include "framework/message_map.h"
#include "framework/resources.h"

#include <cstdint>
#include <exception>
#include <memory>

namespace fw {

namespace detail {
class DialogWindow;
}

struct ScreenSize {
    int cx = 0;
    int cy = 0;
};

class Dialog {
public:
    Dialog(const ResourceModule& module, std::uint16_t templateId, Dialog* parent = nullptr);
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Creates the window from the template, calls OnInitDialog, runs the window
    // modally and returns the code given to EndDialog; -1 when the template is
    // missing or a test's modal run left the dialog open. An exception that
    // escapes a handler ends the run and leaves DoModal.
    std::intptr_t DoModal();
    void EndDialog(int result);

    // Sends a notification as the window would, synchronously; exceptions from
    // the handler reach the caller.
    void SendMessage(Msg msg, int id = 0);

    const ResourceModule& Module() const { return m_module; }
    Dialog* Parent() const { return m_parent; }
    bool HasWindow() const { return m_window != nullptr; }

    Control GetDlgItem(int id) { return Control(this, id); }
    Edit GetEdit(int id) { return Edit(this, id); }
    ListBox GetListBox(int id) { return ListBox(this, id); }
    Static GetStatic(int id) { return Static(this, id); }

    // Window operations; without a window they do nothing.
    void SetIcon(IconHandle icon, bool big);
    void SetFocus();
    // Dialog units to pixels by the window's font; false without a window.
    bool MapDialogRect(Rect& rect) const;
    // The size of the screen the window is on (or of the primary screen).
    ScreenSize GetScreenSize() const;

    // The live window, for the framework's own parts (soft-key bar, message box).
    detail::DialogWindow* Window() const { return m_window; }

protected:
    // The framework's start-up of the window: binds the controls (data
    // exchange) and gives the window an empty soft-key bar. True asks the
    // framework to focus the first control with a tab stop.
    virtual bool OnInitDialog();
    // Binds wrappers such as a list box member to their controls.
    virtual void DoDataExchange() {}
    template <class C> void BindControl(int id, C& wrapper) { wrapper = C(this, id); }

    // The command-map accessor: derived classes dispatch their map and fall back
    // to this, which ends the dialog on IDOK and IDCANCEL.
    virtual bool OnMessage(Msg msg, int id);
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }

private:
    friend class detail::DialogWindow;
    // A notification coming from the toolkit's event handling: an exception is
    // kept, ends the run and is thrown again by DoModal.
    void RouteFromToolkit(Msg msg, int id) noexcept;

    const ResourceModule& m_module;
    std::uint16_t m_templateId;
    Dialog* m_parent;
    detail::DialogWindow* m_window = nullptr;
    bool m_ended = false;
    int m_result = 0;
    std::exception_ptr m_pending;
};

} // namespace fw

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Modal dialogs. A Dialog object lives long; its window is created anew from
// the dialog template by each DoModal and destroyed when the run ends.
// Notifications reach the dialog through OnMessage, which derived classes
// answer from their command map.
//
// On a desktop a window is resizable, never smaller than its template, and
// its controls stretch with it (FillWindow, the default handling of
// Msg::Size). A dialog run by another one opens over its owner's window, at
// the same place, size and maximised state, and when it ends the owner takes
// the place and size it had last: the two read as one window whose content
// changes. Where dialogs cover the whole screen (FillsScreen), a window keeps
// its template's size and a dialog handles the screen's orientation itself.

#include "framework/controls.h"
#include "framework/keys.h"
#include "framework/message_map.h"
#include "framework/resources.h"

#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <string_view>

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
    // modally, calls OnDestroy and returns the code given to EndDialog; -1 when
    // the template is missing or a test's modal run left the dialog open. An
    // exception that escapes a handler ends the run and leaves DoModal.
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

    // True where every dialog covers the whole screen, whose size is then
    // imposed on the windows (testing::ScopedScreenSize stands for such a
    // screen). False on a desktop.
    bool FillsScreen() const;
    // Stretches the controls over the client area by the template
    // (framework/fill_layout.h); false without a window.
    bool FillWindow();

    // The window's caption; empty without a window.
    void SetWindowText(std::u16string_view text);
    std::u16string GetWindowText() const;

    // The window's place, size and maximised state as the toolkit records
    // them (empty without a window), and such a record put back, kept within
    // the screens there are; false when it cannot be.
    std::string GetWindowPlacement() const;
    bool SetWindowPlacement(std::string_view placement);
    // On a desktop the window is also never smaller than the template `id`,
    // so that a dialog of that template can open over it at its size; false
    // without a window or such a template.
    bool KeepRoomForTemplate(std::uint16_t id);
    // Resizes the window, in logical pixels, within nine tenths of the free
    // area of its screen (the rest for its frame), and centres it there.
    void SetWindowSizeCentered(int cx, int cy);
    // Brings the window to the front, restored if it was minimised, and gives
    // it the keyboard.
    void SetForegroundWindow();

    // The pointer over the window shows that work goes on in the background
    // (the window still answers), or shows the usual one again.
    void SetBusyCursor(bool busy);

    // The text of the lists and multi-line edit boxes, in percent of the
    // window's font.
    void SetTextZoom(int percent);
    // Makes the module's accelerator table `id` the window's for this run;
    // false without a window or such a table. A button whose id is the
    // command of an accelerator shows that accelerator's key in its tooltip.
    bool LoadAccelTable(std::uint16_t id);

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
    // The default handling of Msg::Size on a desktop is FillWindow.
    virtual bool OnMessage(Msg msg, int id);
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // A key pressed in the control `id`, before the control sees it; true
    // when the dialog has handled it, and the control then does not see it.
    virtual bool PreTranslateKey(int /*id*/, const KeyDown& /*key*/) { return false; }
    // The run has ended; the window is still there, as the user left it.
    virtual void OnDestroy() {}

private:
    friend class detail::DialogWindow;
    // A notification coming from the toolkit's event handling: an exception is
    // kept, ends the run and is thrown again by DoModal.
    void RouteFromToolkit(Msg msg, int id) noexcept;
    // PreTranslateKey for the toolkit's event handling, in the same way.
    bool TranslateKeyFromToolkit(int id, const KeyDown& key) noexcept;

    const ResourceModule& m_module;
    std::uint16_t m_templateId;
    Dialog* m_parent;
    detail::DialogWindow* m_window = nullptr;
    bool m_ended = false;
    int m_result = 0;
    std::exception_ptr m_pending;
};

} // namespace fw

// SPDX-License-Identifier: GPL-2.0-or-later
#include "framework/test_hooks.h"

#include "framework/control_widgets.h"
#include "framework/dialog_window.h"
#include "framework/hooks.h"
#include "framework/soft_key_bar.h"

#include <QPushButton>

namespace fw {

namespace detail {
Hooks& TheHooks() {
    static Hooks hooks;
    return hooks;
}
} // namespace detail

namespace testing {

using detail::TheHooks;

ScopedModalRun::ScopedModalRun(std::function<void(Dialog&)> run)
    : m_previous(std::move(TheHooks().modalRun)) {
    TheHooks().modalRun = std::move(run);
}

ScopedModalRun::~ScopedModalRun() {
    TheHooks().modalRun = std::move(m_previous);
}

MessageBoxCapture::MessageBoxCapture()
    : m_previous(TheHooks().messageBoxes), m_previousAnswer(TheHooks().questionAnswer) {
    TheHooks().messageBoxes = &m_calls;
    TheHooks().questionAnswer = false;
}

MessageBoxCapture::~MessageBoxCapture() {
    TheHooks().messageBoxes = m_previous;
    TheHooks().questionAnswer = m_previousAnswer;
}

void MessageBoxCapture::AnswerYes(bool yes) {
    TheHooks().questionAnswer = yes;
}

ScopedScreenSize::ScopedScreenSize(int cx, int cy) : m_previous(TheHooks().screen) {
    Set(cx, cy);
}

ScopedScreenSize::~ScopedScreenSize() {
    TheHooks().screen = m_previous;
}

void ScopedScreenSize::Set(int cx, int cy) {
    TheHooks().screen = ScreenSize{cx, cy};
    // Copied: a handler may open or close windows.
    const std::vector<detail::DialogWindow*> windows = detail::DialogWindow::LiveWindows();
    for (detail::DialogWindow* window : windows) {
        window->Route(Msg::Size, 0);
    }
}

ScopedSaveFileAnswer::ScopedSaveFileAnswer(std::optional<std::string> answer)
    : path(std::move(answer)), m_previous(TheHooks().saveFileName) {
    TheHooks().saveFileName = this;
}

ScopedSaveFileAnswer::~ScopedSaveFileAnswer() {
    TheHooks().saveFileName = m_previous;
}

std::optional<SipState> LastSipRequest() {
    return TheHooks().lastSip;
}

void ResetSipRequests() {
    TheHooks().lastSip.reset();
}

QWidget* WindowWidget(const Dialog& dialog) {
    return dialog.Window();
}

QWidget* ControlWidget(const Dialog& dialog, int id) {
    if (dialog.Window() == nullptr) {
        return nullptr;
    }
    detail::ControlWidget* control = dialog.Window()->FindControl(id);
    return control == nullptr ? nullptr : control->AsWidget();
}

QWidget* SoftKeyWidget(const Dialog& dialog, int command) {
    if (dialog.Window() == nullptr) {
        return nullptr;
    }
    return dialog.Window()->Bar().KeyFor(static_cast<std::uint16_t>(command));
}

} // namespace testing
} // namespace fw

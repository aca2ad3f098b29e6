// SPDX-License-Identifier: GPL-2.0-or-later
#include "framework/dialog.h"

#include "framework/dialog_window.h"
#include "framework/hooks.h"
#include "framework/icon_image.h"
#include "framework/qt_text.h"
#include "framework/soft_keys.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QScopeGuard>
#include <QScreen>

#include <algorithm>

namespace fw {

Dialog::Dialog(const ResourceModule& module, std::uint16_t templateId, Dialog* parent)
    : m_module(module), m_templateId(templateId), m_parent(parent) {}

Dialog::~Dialog() = default;

std::intptr_t Dialog::DoModal() {
    const DialogTemplate* dialogTemplate = m_module.FindDialog(m_templateId);
    if (dialogTemplate == nullptr || m_window != nullptr) {
        return -1;
    }
    QWidget* parentWindow = m_parent == nullptr ? nullptr : m_parent->m_window;
    auto window = std::make_unique<detail::DialogWindow>(*this, *dialogTemplate, parentWindow);
    const QScopeGuard detach([this] { m_window = nullptr; });
    m_window = window.get();
    m_ended = false;
    m_result = -1;
    m_pending = nullptr;
    const bool coverOwner = parentWindow != nullptr && !FillsScreen();
    if (coverOwner) {
        // Over the owner's window, at its place, size and maximised state.
        window->restoreGeometry(parentWindow->saveGeometry());
    }

    if (OnInitDialog()) {
        if (QWidget* first = m_window->FirstTabStop()) {
            first->setFocus(Qt::TabFocusReason);
        }
    }
    if (!m_ended) {
        if (const std::function<void(Dialog&)> run = detail::TheHooks().modalRun) {
            window->show();
            window->activateWindow();
            QCoreApplication::processEvents();
            run(*this);
        } else if (parentWindow == nullptr && !FillsScreen()) {
            // The program's own window, an ordinary one: no window is there
            // for it to keep from the keyboard, so it is not made modal.
            QEventLoop loop;
            QObject::connect(window.get(), &QDialog::finished, &loop, &QEventLoop::quit);
            window->show();
            loop.exec(QEventLoop::DialogExec);
        } else {
            window->exec();
        }
    }
    OnDestroy();
    if (coverOwner) {
        // The owner goes on where the user left this window.
        parentWindow->restoreGeometry(window->saveGeometry());
    }
    window->hide();
    // The owner takes the keyboard back when a nested run ends, so that typing
    // goes on where the user left it. A window manager usually sees to that;
    // without one no window is active now, and the owner is activated here.
    QCoreApplication::processEvents();
    if (parentWindow != nullptr && QApplication::activeWindow() == nullptr) {
        parentWindow->activateWindow();
    }
    if (m_pending) {
        std::exception_ptr pending = std::exchange(m_pending, nullptr);
        std::rethrow_exception(pending);
    }
    return m_ended ? m_result : -1;
}

void Dialog::EndDialog(int result) {
    m_ended = true;
    m_result = result;
    if (m_window != nullptr) {
        m_window->done(result);
    }
}

void Dialog::SendMessage(Msg msg, int id) {
    OnMessage(msg, id);
}

void Dialog::RouteFromToolkit(Msg msg, int id) noexcept {
    if (m_ended || m_pending) {
        return;
    }
    try {
        OnMessage(msg, id);
    } catch (...) {
        m_pending = std::current_exception();
        EndDialog(-1);
    }
}

bool Dialog::TranslateKeyFromToolkit(int id, const KeyDown& key) noexcept {
    if (m_ended || m_pending) {
        return false;
    }
    try {
        return PreTranslateKey(id, key);
    } catch (...) {
        m_pending = std::current_exception();
        EndDialog(-1);
        return true;
    }
}

bool Dialog::OnInitDialog() {
    DoDataExchange();
    CreateMenuBar(*this, kMenuBarEmpty, nullptr);
    return true;
}

bool Dialog::OnMessage(Msg msg, int id) {
    if (msg == Msg::Size) {
        if (!FillsScreen()) {
            FillWindow();
        }
        return true;
    }
    if (msg != Msg::Command) {
        return false;
    }
    if (id == IDOK) {
        OnOK();
        return true;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

void Dialog::SetIcon(IconHandle icon, bool /*big*/) {
    // The toolkit keeps one icon in all sizes for both uses.
    if (m_window != nullptr) {
        m_window->setWindowIcon(detail::WindowIcon(icon));
    }
}

void Dialog::SetFocus() {
    if (m_window != nullptr) {
        m_window->setFocus(Qt::OtherFocusReason);
    }
}

bool Dialog::MapDialogRect(Rect& rect) const {
    if (m_window == nullptr) {
        return false;
    }
    rect = detail::MapDialogRect(rect, m_window->BaseUnits());
    return true;
}

ScreenSize Dialog::GetScreenSize() const {
    if (const std::optional<ScreenSize>& screen = detail::TheHooks().screen) {
        return *screen;
    }
    QScreen* screen = m_window != nullptr ? m_window->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return {};
    }
    const QRect geometry = screen->geometry();
    return {geometry.width(), geometry.height()};
}

} // namespace fw

namespace fw {

bool Dialog::FillsScreen() const {
    return detail::TheHooks().screen.has_value();
}

bool Dialog::FillWindow() {
    if (m_window == nullptr) {
        return false;
    }
    m_window->FillControls();
    return true;
}

void Dialog::SetWindowText(std::u16string_view text) {
    if (m_window != nullptr) {
        m_window->setWindowTitle(detail::ToQString(text));
    }
}

std::u16string Dialog::GetWindowText() const {
    return m_window == nullptr ? std::u16string() : detail::FromQString(m_window->windowTitle());
}

std::string Dialog::GetWindowPlacement() const {
    if (m_window == nullptr) {
        return {};
    }
    const QByteArray placement = m_window->saveGeometry();
    return std::string(placement.constData(), static_cast<std::size_t>(placement.size()));
}

bool Dialog::SetWindowPlacement(std::string_view placement) {
    if (m_window == nullptr || placement.empty() || FillsScreen()) {
        return false;
    }
    return m_window->restoreGeometry(
        QByteArray(placement.data(), static_cast<qsizetype>(placement.size())));
}

bool Dialog::KeepRoomForTemplate(std::uint16_t id) {
    const DialogTemplate* other = m_module.FindDialog(id);
    if (m_window == nullptr || other == nullptr) {
        return false;
    }
    if (!FillsScreen()) {
        const QSize room = m_window->TemplateSize(*other);
        m_window->setMinimumSize(m_window->minimumSize().expandedTo(room));
    }
    return true;
}

void Dialog::SetWindowSizeCentered(int cx, int cy) {
    if (m_window == nullptr || FillsScreen()) {
        return;
    }
    QScreen* screen = m_window->screen();
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen == nullptr) {
        m_window->resize(cx, cy);
        return;
    }
    // Within the free area, with room left for the frame the window manager adds.
    const QRect free = screen->availableGeometry();
    m_window->resize(std::min(cx, free.width() * 9 / 10), std::min(cy, free.height() * 9 / 10));
    m_window->move(free.x() + (free.width() - m_window->width()) / 2,
                   free.y() + (free.height() - m_window->height()) / 2);
}

void Dialog::SetForegroundWindow() {
    if (m_window == nullptr) {
        return;
    }
    m_window->setWindowState(m_window->windowState() & ~Qt::WindowMinimized);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void Dialog::SetBusyCursor(bool busy) {
    if (m_window == nullptr) {
        return;
    }
    if (busy) {
        m_window->setCursor(Qt::BusyCursor);
    } else {
        m_window->unsetCursor();
    }
}

void Dialog::SetTextZoom(int percent) {
    if (m_window != nullptr) {
        m_window->SetTextZoom(percent);
    }
}

bool Dialog::LoadAccelTable(std::uint16_t id) {
    const AcceleratorTable* table = m_module.FindAccelerators(id);
    if (m_window == nullptr || table == nullptr) {
        return false;
    }
    m_window->SetAccelerators(*table);
    return true;
}

} // namespace fw

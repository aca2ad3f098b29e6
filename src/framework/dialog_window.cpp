// SPDX-License-Identifier: GPL-2.0-or-later
#include "framework/dialog_window.h"

#include "framework/control_widgets.h"
#include "framework/fill_layout.h"
#include "framework/qt_text.h"
#include "framework/soft_key_bar.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QScreen>
#include <QShortcut>
#include <QWheelEvent>
#include <QWindow>

#include <algorithm>
#include <cstdlib>

namespace fw::detail {

namespace {

std::vector<DialogWindow*>& Windows() {
    static std::vector<DialogWindow*> windows;
    return windows;
}

constexpr int kWheelStep = 120; // one notch of a mouse wheel, in eighths of a degree

constexpr Qt::KeyboardModifiers kModifierKeys =
    Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

QString FromLatin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// "Ctrl", "Ctrl+Shift": the modifiers a wheel accelerator names.
Qt::KeyboardModifiers ModifiersNamed(std::string_view names) {
    Qt::KeyboardModifiers modifiers;
    for (const QString& name : FromLatin1(names).split(QLatin1Char('+'), Qt::SkipEmptyParts)) {
        const QString lower = name.trimmed().toLower();
        if (lower == QLatin1String("ctrl")) {
            modifiers |= Qt::ControlModifier;
        } else if (lower == QLatin1String("shift")) {
            modifiers |= Qt::ShiftModifier;
        } else if (lower == QLatin1String("alt")) {
            modifiers |= Qt::AltModifier;
        } else if (lower == QLatin1String("meta")) {
            modifiers |= Qt::MetaModifier;
        }
    }
    return modifiers;
}

// The virtual-key code of the keys a dialog sees first; 0 for any other.
int VirtualKey(int key) {
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Space:
        return VK_SPACE;
    case Qt::Key_PageUp:
        return VK_PRIOR;
    case Qt::Key_PageDown:
        return VK_NEXT;
    case Qt::Key_End:
        return VK_END;
    case Qt::Key_Home:
        return VK_HOME;
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Down:
        return VK_DOWN;
    case Qt::Key_Delete:
        return VK_DELETE;
    case Qt::Key_Z:
        return VK_Z;
    default:
        return 0;
    }
}

} // namespace

const std::vector<DialogWindow*>& DialogWindow::LiveWindows() {
    return Windows();
}

DialogWindow::DialogWindow(Dialog& owner, const DialogTemplate& dialogTemplate, QWidget* parent)
    : QDialog(parent), m_owner(owner), m_template(dialogTemplate), m_base(BaseUnitsOf(font())) {
    setWindowTitle(ToQString(dialogTemplate.caption));
    const bool fillsScreen = owner.FillsScreen();
    if (fillsScreen) {
        setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                       Qt::WindowCloseButtonHint);
    } else if (parent == nullptr) {
        // The program's own window: in the task bar, with every button.
        setWindowFlags(Qt::Window);
    } else {
        // Over its owner's window, which it belongs to.
        setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                       Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                       Qt::WindowCloseButtonHint);
    }
    setSizeGripEnabled(false);

    const Rect client = MapDialogRect({0, 0, dialogTemplate.cx, dialogTemplate.cy}, m_base);
    m_client = new QWidget(this);
    m_client->setGeometry(0, 0, client.Width(), client.Height());
    // Creation order is the tab order: the template's order.
    for (const DialogItem& item : dialogTemplate.items) {
        ControlWidget* control = CreateControl(*this, item, m_client);
        QWidget* widget = control->AsWidget();
        const Rect rect =
            MapDialogRect({item.x, item.y, item.x + item.cx, item.y + item.cy}, m_base);
        widget->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
        widget->setFocusPolicy((item.style & style::kTabStop) != 0 ? Qt::StrongFocus
                                                                   : Qt::ClickFocus);
        widget->setEnabled((item.style & style::kDisabled) == 0);
        widget->setVisible((item.style & style::kVisible) != 0);
        widget->installEventFilter(this);
        m_controls.push_back(control);
    }

    m_bar = new SoftKeyBar(*this);
    m_bar->setGeometry(0, client.Height(), client.Width(), SoftKeyBar::PreferredHeight());
    if (fillsScreen) {
        // The template's size, not resizable.
        setFixedSize(TemplateSize(dialogTemplate));
    } else {
        // Never smaller than the template, which is where it starts.
        setMinimumSize(TemplateSize(dialogTemplate));
        resize(minimumSize());
    }
    Windows().push_back(this);
}

DialogWindow::~DialogWindow() {
    std::erase(Windows(), this);
}

ControlWidget* DialogWindow::FindControl(int id) const {
    for (ControlWidget* control : m_controls) {
        if (control->Id() == id) {
            return control;
        }
    }
    return nullptr;
}

QWidget* DialogWindow::FirstTabStop() const {
    for (ControlWidget* control : m_controls) {
        QWidget* widget = control->AsWidget();
        if ((control->Item().style & style::kTabStop) != 0 && widget->isEnabled() &&
            !widget->isHidden()) {
            return widget;
        }
    }
    return nullptr;
}

QSize DialogWindow::TemplateSize(const DialogTemplate& dialogTemplate) const {
    const Rect client = MapDialogRect({0, 0, dialogTemplate.cx, dialogTemplate.cy}, m_base);
    return {client.Width(), client.Height() + SoftKeyBar::PreferredHeight()};
}

void DialogWindow::FillControls() {
    for (ControlWidget* control : m_controls) {
        const Rect rect =
            FillRect(m_template, control->Item(), m_base, m_client->width(), m_client->height());
        control->AsWidget()->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
    }
}

void DialogWindow::SetTextZoom(int percent) {
    QFont zoomed = font();
    if (zoomed.pointSizeF() > 0) {
        zoomed.setPointSizeF(zoomed.pointSizeF() * percent / 100.0);
    } else {
        zoomed.setPixelSize(std::max(1, zoomed.pixelSize() * percent / 100));
    }
    for (ControlWidget* control : m_controls) {
        if (dynamic_cast<ListWidget*>(control) != nullptr ||
            dynamic_cast<TextBoxWidget*>(control) != nullptr) {
            control->AsWidget()->setFont(zoomed);
        }
    }
}

void DialogWindow::SetAccelerators(const AcceleratorTable& table) {
    for (QShortcut* shortcut : m_shortcuts) {
        delete shortcut;
    }
    m_shortcuts.clear();
    m_wheelCommands.clear();
    for (const Accelerator& entry : table.entries) {
        const std::uint16_t command = entry.command;
        if (entry.wheel != WheelTurn::None) {
            m_wheelCommands.push_back({ModifiersNamed(entry.key), entry.wheel, command});
            continue;
        }
        const QKeySequence key(FromLatin1(entry.key));
        auto* shortcut = new QShortcut(key, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this,
                [this, command] { Route(Msg::Command, command); });
        m_shortcuts.push_back(shortcut);
        // A button that sends the same command names its key.
        if (auto* button = dynamic_cast<ButtonWidget*>(FindControl(command))) {
            if (button->toolTip().isEmpty()) {
                button->setToolTip(key.toString(QKeySequence::NativeText));
            }
        }
    }
}

bool DialogWindow::WheelAccelerator(QWheelEvent* event) {
    const int angle = event->angleDelta().y();
    if (angle == 0) {
        return false;
    }
    const Qt::KeyboardModifiers modifiers = event->modifiers() & kModifierKeys;
    const WheelTurn turn = angle > 0 ? WheelTurn::Up : WheelTurn::Down;
    const auto found =
        std::find_if(m_wheelCommands.begin(), m_wheelCommands.end(), [&](const WheelCommand& c) {
            return c.modifiers == modifiers && c.turn == turn;
        });
    if (found == m_wheelCommands.end()) {
        return false;
    }
    // A fine-grained wheel (a touchpad) sends parts of a step: whole steps count.
    if ((m_wheelAngle > 0) != (angle > 0)) {
        m_wheelAngle = 0;
    }
    m_wheelAngle += angle;
    const std::uint16_t command = found->command;
    while (std::abs(m_wheelAngle) >= kWheelStep) {
        m_wheelAngle -= m_wheelAngle > 0 ? kWheelStep : -kWheelStep;
        Route(Msg::Command, command);
    }
    event->accept();
    return true;
}

void DialogWindow::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        Route(Msg::Command, IDCANCEL);
        return;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        // No default button: Enter presses only a focused push button.
        if (auto* button = dynamic_cast<ButtonWidget*>(focusWidget())) {
            button->click();
        }
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool DialogWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return QDialog::eventFilter(watched, event);
    }
    const auto* press = static_cast<QKeyEvent*>(event);
    const int vk = VirtualKey(press->key());
    if (vk == 0) {
        return false;
    }
    for (ControlWidget* control : m_controls) {
        if (control->AsWidget() == watched) {
            const Qt::KeyboardModifiers modifiers = press->modifiers();
            const KeyDown key{vk, modifiers.testFlag(Qt::ShiftModifier),
                              modifiers.testFlag(Qt::ControlModifier),
                              modifiers.testFlag(Qt::AltModifier)};
            return m_owner.TranslateKeyFromToolkit(control->Id(), key);
        }
    }
    return false;
}

void DialogWindow::wheelEvent(QWheelEvent* event) {
    if (!WheelAccelerator(event)) {
        QDialog::wheelEvent(event);
    }
}

void DialogWindow::closeEvent(QCloseEvent* event) {
    // The caption's close button is the dialog's OK.
    event->ignore();
    Route(Msg::Command, IDOK);
}

void DialogWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    // The soft keys across the bottom, the client area above them.
    const int barHeight = m_bar->height();
    m_client->setGeometry(0, 0, width(), std::max(0, height() - barHeight));
    m_bar->setGeometry(0, height() - barHeight, width(), barHeight);
    WatchScreen();
    Route(Msg::Size, 0);
}

void DialogWindow::reject() {
    Route(Msg::Command, IDCANCEL);
}

void DialogWindow::WatchScreen() {
    QWindow* handle = windowHandle();
    if (handle == nullptr || handle->property("fwWatched").toBool()) {
        return;
    }
    handle->setProperty("fwWatched", true);
    auto watchGeometry = [this](QScreen* screen) {
        if (screen != nullptr) {
            connect(screen, &QScreen::geometryChanged, this, [this] { Route(Msg::Size, 0); });
        }
    };
    watchGeometry(handle->screen());
    connect(handle, &QWindow::screenChanged, this, [this, watchGeometry](QScreen* screen) {
        watchGeometry(screen);
        Route(Msg::Size, 0);
    });
}

} // namespace fw::detail

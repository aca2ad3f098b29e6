#include "framework/dialog_window.h"

#include "framework/control_widgets.h"
#include "framework/qt_text.h"
#include "framework/soft_key_bar.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QScreen>
#include <QWindow>

#include <algorithm>

namespace fw::detail {

namespace {
std::vector<DialogWindow*>& Windows() {
    static std::vector<DialogWindow*> windows;
    return windows;
}
} // namespace

const std::vector<DialogWindow*>& DialogWindow::LiveWindows() {
    return Windows();
}

DialogWindow::DialogWindow(Dialog& owner, const DialogTemplate& dialogTemplate, QWidget* parent)
    : QDialog(parent), m_owner(owner), m_base(BaseUnitsOf(font())) {
    setWindowTitle(ToQString(dialogTemplate.caption));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
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
        m_controls.push_back(control);
    }

    const int barHeight = SoftKeyBar::PreferredHeight();
    m_bar = new SoftKeyBar(*this);
    m_bar->setGeometry(0, client.Height(), client.Width(), barHeight);
    // The template's size, not resizable.
    setFixedSize(client.Width(), client.Height() + barHeight);
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

void DialogWindow::closeEvent(QCloseEvent* event) {
    // The caption's close button is the dialog's OK.
    event->ignore();
    Route(Msg::Command, IDOK);
}

void DialogWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
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

// SPDX-License-Identifier: GPL-2.0-or-later
#include "framework/soft_key_bar.h"

#include "framework/dialog_window.h"
#include "framework/qt_text.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>

namespace fw::detail {

namespace {
constexpr int kMargin = 2;
constexpr int kSlots = 2; // a left and a right soft key
} // namespace

SoftKeyBar::SoftKeyBar(DialogWindow& window) : QWidget(&window), m_window(window) {
    m_layout = new QHBoxLayout(this);
    m_layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    m_layout->setSpacing(kMargin);
    Show(nullptr);
    // Mouse presses go to the widget under the pointer, whichever it is.
    QCoreApplication::instance()->installEventFilter(this);
}

bool SoftKeyBar::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
        type != QEvent::MouseButtonDblClick) {
        return false;
    }
    const Qt::MouseButton button = static_cast<QMouseEvent*>(event)->button();
    const MouseButton side = button == Qt::BackButton      ? MouseButton::Back
                             : button == Qt::ForwardButton ? MouseButton::Forward
                                                           : MouseButton::None;
    if (side == MouseButton::None || !watched->isWidgetType() ||
        static_cast<QWidget*>(watched)->window() != &m_window) {
        return false;
    }
    if (type == QEvent::MouseButtonPress) {
        for (const Key& key : m_keys) {
            if (key.mouse == side && key.button->isEnabled()) {
                m_window.Route(Msg::Command, key.command);
                break;
            }
        }
    }
    return true; // the whole click is the key's
}

int SoftKeyBar::PreferredHeight() {
    const QPushButton probe(QStringLiteral("X"));
    return probe.sizeHint().height() + 2 * kMargin;
}

void SoftKeyBar::Clear() {
    // A key may be replaced from inside its own click: delete it later.
    for (const Key& key : m_keys) {
        key.button->hide();
        key.button->deleteLater();
        key.shortcut->setEnabled(false);
        key.shortcut->deleteLater();
    }
    m_keys.clear();
    while (QLayoutItem* item = m_layout->takeAt(0)) {
        delete item;
    }
}

void SoftKeyBar::Show(const Menu* menu) {
    Clear();
    int used = 0;
    if (menu != nullptr) {
        for (const MenuItem& item : menu->items) {
            auto* button = new QPushButton(ToQString(item.text), this);
            button->setFocusPolicy(Qt::NoFocus);
            button->setAutoDefault(false);
            button->setEnabled(!item.grayed);
            const std::uint16_t command = item.command;
            connect(button, &QPushButton::clicked, this,
                    [this, command] { m_window.Route(Msg::Command, command); });
            auto* shortcut = new QShortcut(&m_window);
            if (!item.shortcut.empty()) {
                shortcut->setKey(QKeySequence(QString::fromLatin1(
                    item.shortcut.data(), static_cast<qsizetype>(item.shortcut.size()))));
            }
            shortcut->setContext(Qt::WindowShortcut);
            connect(shortcut, &QShortcut::activated, this, [this, button, command] {
                if (button->isEnabled()) {
                    m_window.Route(Msg::Command, command);
                }
            });
            m_layout->addWidget(button, 1);
            m_keys.push_back({button, shortcut, command, item.mouse});
            ++used;
        }
    }
    for (; used < kSlots; ++used) {
        m_layout->addStretch(1);
    }
    // Shown and placed at once, not when the event loop next runs.
    m_layout->activate();
    for (const Key& key : m_keys) {
        key.button->show();
    }
}

std::vector<SoftKey> SoftKeyBar::Keys() const {
    std::vector<SoftKey> keys;
    for (const Key& key : m_keys) {
        keys.push_back({FromQString(key.button->text()), key.command, key.button->isEnabled()});
    }
    return keys;
}

QPushButton* SoftKeyBar::KeyFor(std::uint16_t command) const {
    for (const Key& key : m_keys) {
        if (key.command == command) {
            return key.button;
        }
    }
    return nullptr;
}

} // namespace fw::detail

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The strip of soft keys at the bottom of a dialog's window.

#include "framework/soft_keys.h"

#include <QWidget>

#include <vector>

class QHBoxLayout;
class QPushButton;
class QShortcut;

namespace fw::detail {

class DialogWindow;

class SoftKeyBar final : public QWidget {
public:
    explicit SoftKeyBar(DialogWindow& window);

    // Replaces the keys shown by one per item of the menu; null shows none.
    void Show(const Menu* menu);
    std::vector<SoftKey> Keys() const;
    // The key of a command, or null.
    QPushButton* KeyFor(std::uint16_t command) const;

    // The strip's height: one push button and a small margin.
    static int PreferredHeight();

protected:
    // The side buttons of the mouse anywhere in the window press their keys.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Key {
        QPushButton* button = nullptr;
        QShortcut* shortcut = nullptr;
        std::uint16_t command = 0;
        MouseButton mouse = MouseButton::None;
    };
    void Clear();

    DialogWindow& m_window;
    QHBoxLayout* m_layout = nullptr;
    std::vector<Key> m_keys;
};

} // namespace fw::detail

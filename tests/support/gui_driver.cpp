// SPDX-License-Identifier: GPL-2.0-or-later
#include "support/gui_driver.h"

#include <QApplication>
#include <QListWidget>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>

#include <gtest/gtest.h>

namespace gui_driver {

void Type(QWidget* widget, std::u16string_view text) {
    for (char16_t unit : text) {
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(QChar(unit)),
                            Qt::NoModifier);
    }
}

void Key(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(widget, key, modifiers);
}

void ClickLine(QWidget* list, int row) {
    auto* view = dynamic_cast<QListWidget*>(list);
    ASSERT_TRUE(view != nullptr);
    const QRect rect = view->visualItemRect(view->item(row));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
}

void ClickCheckBox(QWidget* list, int row) {
    auto* view = dynamic_cast<QListWidget*>(list);
    ASSERT_TRUE(view != nullptr);
    QStyleOptionViewItem option;
    option.initFrom(view);
    option.rect = view->visualItemRect(view->item(row));
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
    const QRect box =
        view->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, view);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, box.center());
}

bool Activate(QWidget* widget) {
    QWidget* window = widget->window();
    window->activateWindow();
    QApplication::processEvents();
    return QTest::qWaitForWindowActive(window, 1000);
}

} // namespace gui_driver

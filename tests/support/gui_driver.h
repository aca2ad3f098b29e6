// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Drives real widgets as a user would: typing, keys and clicks sent as the
// toolkit's input events.

#include <Qt>

#include <string>
#include <string_view>

class QWidget;

namespace gui_driver {

// Types each UTF-16 unit as one key press with that text.
void Type(QWidget* widget, std::u16string_view text);
void Key(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// A left click on a line of a list widget.
void ClickLine(QWidget* list, int row);
// A left click on the check box of a line of a list widget.
void ClickCheckBox(QWidget* list, int row);
// Makes the widget's window the active one, so that focus and shortcuts work;
// false when the window has not become active within a second.
[[nodiscard]] bool Activate(QWidget* widget);

} // namespace gui_driver

// SPDX-License-Identifier: GPL-2.0-or-later
#include "framework/clipboard.h"

#include "framework/qt_text.h"

#include <QClipboard>
#include <QGuiApplication>

namespace fw {

std::u16string SelectionText() {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QClipboard::Mode mode =
        clipboard->supportsSelection() ? QClipboard::Selection : QClipboard::Clipboard;
    return detail::FromQString(clipboard->text(mode));
}

} // namespace fw

// SPDX-License-Identifier: GPL-2.0-or-later
#include "framework/message_box.h"

#include "framework/dialog_window.h"
#include "framework/hooks.h"
#include "framework/qt_text.h"

#include <QMessageBox>

namespace fw {

namespace {
QMessageBox::Icon ToolkitIcon(MessageBoxIcon icon) {
    switch (icon) {
    case MessageBoxIcon::Error:
        return QMessageBox::Critical;
    case MessageBoxIcon::Warning:
        return QMessageBox::Warning;
    case MessageBoxIcon::Information:
        return QMessageBox::Information;
    case MessageBoxIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}
} // namespace

int MessageBox(Dialog* owner, std::u16string_view text, std::u16string_view caption,
               MessageBoxIcon icon) {
    if (auto* calls = detail::TheHooks().messageBoxes) {
        calls->push_back({owner, std::u16string(text), std::u16string(caption), icon});
        return IDOK;
    }
    QWidget* parent = owner == nullptr ? nullptr : owner->Window();
    QMessageBox box(ToolkitIcon(icon), detail::ToQString(caption), detail::ToQString(text),
                    QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
    return IDOK;
}

} // namespace fw

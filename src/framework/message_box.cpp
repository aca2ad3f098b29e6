// SPDX-License-Identifier: GPL-2.0-or-later
#include "framework/message_box.h"

#include "framework/dialog_window.h"
#include "framework/hooks.h"
#include "framework/qt_text.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPointer>

#include <vector>

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
    case MessageBoxIcon::Question:
        return QMessageBox::Question;
    case MessageBoxIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// The boxes open now, innermost last.
std::vector<QPointer<QMessageBox>>& OpenBoxes() {
    static std::vector<QPointer<QMessageBox>> boxes;
    return boxes;
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
    OpenBoxes().emplace_back(&box);
    box.exec();
    std::erase(OpenBoxes(), QPointer<QMessageBox>(&box));
    return IDOK;
}

bool AskYesNo(Dialog* owner, std::u16string_view text, std::u16string_view caption) {
    if (auto* calls = detail::TheHooks().messageBoxes) {
        calls->push_back(
            {owner, std::u16string(text), std::u16string(caption), MessageBoxIcon::Question});
        return detail::TheHooks().questionAnswer;
    }
    QWidget* parent = owner == nullptr ? nullptr : owner->Window();
    QMessageBox box(QMessageBox::Question, detail::ToQString(caption), detail::ToQString(text),
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setTextFormat(Qt::PlainText);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Да"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Нет"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    OpenBoxes().emplace_back(&box);
    const int answer = box.exec();
    std::erase(OpenBoxes(), QPointer<QMessageBox>(&box));
    return answer == QMessageBox::Yes;
}

bool MessageBoxIsOpen() {
    return !OpenBoxes().empty();
}

void CloseMessageBoxes() {
    for (const QPointer<QMessageBox>& box : OpenBoxes()) {
        if (box != nullptr) {
            box->done(QMessageBox::Ok);
        }
    }
}

} // namespace fw

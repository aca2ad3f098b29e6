// SPDX-License-Identifier: GPL-2.0-or-later
#include "framework/controls.h"

#include "framework/control_widgets.h"
#include "framework/dialog.h"
#include "framework/dialog_window.h"
#include "framework/qt_text.h"

#include <QPoint>
#include <QVariant>

namespace fw {

using detail::ControlWidget;

namespace {
template <class W> W* As(ControlWidget* widget) {
    return dynamic_cast<W*>(widget);
}
} // namespace

ControlWidget* Control::Widget() const {
    if (m_dialog == nullptr || m_dialog->Window() == nullptr) {
        return nullptr;
    }
    return m_dialog->Window()->FindControl(m_id);
}

std::u16string Control::GetWindowText() const {
    ControlWidget* widget = Widget();
    return widget == nullptr ? std::u16string() : widget->Text();
}

void Control::SetWindowText(std::u16string_view text) const {
    if (ControlWidget* widget = Widget()) {
        widget->SetText(text);
    }
}

void Control::SetFocus() const {
    if (ControlWidget* widget = Widget()) {
        widget->AsWidget()->setFocus(Qt::OtherFocusReason);
    }
}

bool Control::HasFocus() const {
    ControlWidget* widget = Widget();
    return widget != nullptr && widget->AsWidget()->hasFocus();
}

Rect Control::GetRect() const {
    ControlWidget* widget = Widget();
    if (widget == nullptr) {
        return {};
    }
    const QRect geometry = widget->AsWidget()->geometry();
    return {geometry.left(), geometry.top(), geometry.left() + geometry.width(),
            geometry.top() + geometry.height()};
}

void Control::MoveWindow(const Rect& rect) const {
    if (ControlWidget* widget = Widget()) {
        widget->AsWidget()->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
    }
}

Selection Edit::GetSel() const {
    auto* edit = As<detail::EditWidget>(Widget());
    return edit == nullptr ? Selection{} : edit->GetSel();
}

void Edit::SetSel(int start, int end) const {
    if (auto* edit = As<detail::EditWidget>(Widget())) {
        edit->SetSel(start, end);
    }
}

void Edit::ScrollCaret() const {
    if (auto* edit = As<detail::EditWidget>(Widget())) {
        edit->ScrollCaret();
    }
}

void Edit::SetMarks(std::span<const Selection> ranges) const {
    if (auto* box = As<detail::TextBoxWidget>(Widget())) {
        box->SetMarks(ranges);
    }
}

void ListBox::ResetContent() const {
    if (auto* list = As<detail::ListWidget>(Widget())) {
        list->clear();
    }
}

int ListBox::AddString(std::u16string_view text) const {
    auto* list = As<detail::ListWidget>(Widget());
    if (list == nullptr) {
        return LB_ERR;
    }
    auto* item = new QListWidgetItem(detail::ToQString(text));
    list->addItem(item);
    return list->row(item);
}

int ListBox::AddMarkedString(std::u16string_view text, std::u16string_view hint) const {
    auto* list = As<detail::ListWidget>(Widget());
    if (list == nullptr) {
        return LB_ERR;
    }
    auto* item = new QListWidgetItem(detail::ToQString(text));
    item->setData(detail::ListWidget::kMarkedRole, true);
    item->setToolTip(detail::ToQString(hint));
    item->setData(Qt::AccessibleDescriptionRole, detail::ToQString(hint));
    list->addItem(item);
    return list->row(item);
}

int ListBox::AddStringWithBold(std::u16string_view text, std::span<const Selection> bold) const {
    auto* list = As<detail::ListWidget>(Widget());
    if (list == nullptr) {
        return LB_ERR;
    }
    auto* item = new QListWidgetItem(detail::ToQString(text));
    QVariantList parts;
    for (const Selection& part : bold) {
        if (part.start < part.end) {
            parts.push_back(QPoint(part.start, part.end));
        }
    }
    item->setData(detail::ListWidget::kBoldRole, parts);
    list->addItem(item);
    return list->row(item);
}

std::vector<Selection> ListBox::GetBold(int index) const {
    auto* list = As<detail::ListWidget>(Widget());
    std::vector<Selection> parts;
    if (list == nullptr || index < 0 || index >= list->count()) {
        return parts;
    }
    for (const QVariant& part : list->item(index)->data(detail::ListWidget::kBoldRole).toList()) {
        const QPoint range = part.toPoint();
        parts.push_back({range.x(), range.y()});
    }
    return parts;
}

bool ListBox::SetString(int index, std::u16string_view text, std::u16string_view hint) const {
    auto* list = As<detail::ListWidget>(Widget());
    if (list == nullptr || index < 0 || index >= list->count()) {
        return false;
    }
    QListWidgetItem* item = list->item(index);
    item->setText(detail::ToQString(text));
    item->setData(detail::ListWidget::kMarkedRole, hint.empty() ? QVariant() : QVariant(true));
    item->setToolTip(detail::ToQString(hint));
    item->setData(Qt::AccessibleDescriptionRole,
                  hint.empty() ? QVariant() : QVariant(detail::ToQString(hint)));
    return true;
}

std::u16string ListBox::GetHint(int index) const {
    auto* list = As<detail::ListWidget>(Widget());
    if (list == nullptr || index < 0 || index >= list->count() ||
        !list->item(index)->data(detail::ListWidget::kMarkedRole).toBool()) {
        return {};
    }
    return detail::FromQString(list->item(index)->toolTip());
}

int ListBox::AddCheckString(std::u16string_view text, bool checked) const {
    auto* list = As<detail::ListWidget>(Widget());
    if (list == nullptr) {
        return LB_ERR;
    }
    auto* item = new QListWidgetItem(detail::ToQString(text));
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked); // before it notifies anyone
    list->addItem(item);
    return list->row(item);
}

bool ListBox::GetCheck(int index) const {
    auto* list = As<detail::ListWidget>(Widget());
    return list != nullptr && list->Check(index) == Qt::Checked;
}

bool ListBox::SetCheck(int index, bool checked) const {
    auto* list = As<detail::ListWidget>(Widget());
    return list != nullptr && list->SetCheck(index, checked);
}

int ListBox::GetCount() const {
    auto* list = As<detail::ListWidget>(Widget());
    return list == nullptr ? 0 : list->count();
}

std::u16string ListBox::GetText(int index) const {
    auto* list = As<detail::ListWidget>(Widget());
    if (list == nullptr || index < 0 || index >= list->count()) {
        return {};
    }
    return detail::FromQString(list->item(index)->text());
}

int ListBox::GetCurSel() const {
    auto* list = As<detail::ListWidget>(Widget());
    return list == nullptr ? LB_ERR : list->CurSel();
}

bool ListBox::SetCurSel(int index) const {
    auto* list = As<detail::ListWidget>(Widget());
    return list != nullptr && list->SetCurSel(index);
}

void Static::SetImage(IconHandle icon) const {
    if (auto* label = As<detail::StaticWidget>(Widget())) {
        label->SetImage(icon);
    }
}

bool Static::HasImage() const {
    auto* label = As<detail::StaticWidget>(Widget());
    return label != nullptr && label->HasImage();
}

} // namespace fw

// SPDX-License-Identifier: GPL-2.0-or-later
#include "test_dialog.h"

#include <array>

namespace test_dialog {

namespace {

using namespace fw::style;
using fw::ControlClass;
using fw::DialogItem;

constexpr std::array kControls = {
    DialogItem{kChild | kVisible | kBorder | kTabStop | kEditAutoHScroll, 0, 4, 4, 100, 12, kEdit,
               ControlClass::Edit, u"", 0},
    DialogItem{kChild | kVisible | kBorder | kVScroll | kTabStop | kEditMultiLine | kEditReadOnly,
               0, 4, 20, 100, 40, kTextBox, ControlClass::Edit, u"", 0},
    DialogItem{kChild | kVisible | kBorder | kVScroll | kTabStop | kListNotify, 0, 4, 64, 100, 60,
               kList, ControlClass::ListBox, u"", 0},
    DialogItem{kChild | kVisible | kTabStop, 0, 4, 128, 60, 12, kButton, ControlClass::Button,
               u"Кнопка", 0},
    DialogItem{kChild | kVisible, 0, 70, 128, 34, 12, kStatic, ControlClass::Static, u"ĉĝĥĵŝŭ", 0},
};

constexpr std::array kSmall = {
    DialogItem{kChild | kVisible | kTabStop, 0, 4, 4, 60, 12, kButton, ControlClass::Button, u"OK",
               0},
};

constexpr std::array kDialogs = {
    fw::DialogTemplate{kControlsTemplate, kPopup | kCaption, 0, 0, 108, 144, u"Тест", kControls},
    fw::DialogTemplate{kSmallTemplate, kPopup | kCaption, 0, 0, 68, 20, u"Малый", kSmall},
};

constexpr fw::ResourceModule kModule{kDialogs, {}, {}};

const fw::MessageMapEntry<TestDialog> kMap[] = {
    {fw::Msg::EditChange, kEdit, &TestDialog::OnEdit},
    {fw::Msg::ListSelChange, kList, &TestDialog::OnList},
    {fw::Msg::ListCheckChange, kList, &TestDialog::OnListCheck},
    {fw::Msg::Command, kButton, &TestDialog::OnButton},
    {fw::Msg::Command, kCommand, &TestDialog::OnCommand},
    {fw::Msg::Size, 0, &TestDialog::OnSize},
};

} // namespace

const fw::ResourceModule& TestModule() {
    return kModule;
}

bool TestDialog::OnInitDialog() {
    const bool result = fw::Dialog::OnInitDialog();
    ++inits;
    if (onInit) {
        onInit(*this);
    }
    return result;
}

bool TestDialog::OnMessage(fw::Msg msg, int id) {
    return fw::DispatchMessage<TestDialog>(*this, kMap, msg, id) || fw::Dialog::OnMessage(msg, id);
}

void TestDialog::Record(fw::Msg msg, int id) {
    const Note note{msg, id, GetEdit(kEdit).GetWindowText(), m_list.GetCurSel()};
    notes.push_back(note);
    if (then) {
        then(*this, note);
    }
}

} // namespace test_dialog

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A dialog of the tests' own resource module that records every notification
// its command map receives.

#include "framework/dialog.h"

#include <functional>
#include <string>
#include <vector>

namespace test_dialog {

inline constexpr std::uint16_t kControlsTemplate = 1; // one control of each class
inline constexpr std::uint16_t kSmallTemplate = 2;    // a button alone
inline constexpr int kEdit = 10;
inline constexpr int kTextBox = 11;
inline constexpr int kList = 12;
inline constexpr int kButton = 13;
inline constexpr int kStatic = 14;
inline constexpr int kCommand = 777; // a soft key's command

const fw::ResourceModule& TestModule();

struct Note {
    fw::Msg msg;
    int id;
    std::u16string text; // the edit box's text when it notified
    int curSel;          // the list's selection when it notified
    bool operator==(const Note&) const = default;
};

class TestDialog : public fw::Dialog {
public:
    explicit TestDialog(std::uint16_t templateId = kControlsTemplate, fw::Dialog* parent = nullptr)
        : fw::Dialog(TestModule(), templateId, parent) {}

    std::vector<Note> notes;
    int inits = 0;
    fw::ListBox m_list;
    // Runs after a notification is recorded.
    std::function<void(TestDialog&, const Note&)> then;
    // Runs at the end of OnInitDialog.
    std::function<void(TestDialog&)> onInit;

    void OnEdit() { Record(fw::Msg::EditChange, kEdit); }
    void OnList() { Record(fw::Msg::ListSelChange, kList); }
    void OnListCheck() { Record(fw::Msg::ListCheckChange, kList); }
    void OnButton() { Record(fw::Msg::Command, kButton); }
    void OnCommand() { Record(fw::Msg::Command, kCommand); }
    void OnSize() { Record(fw::Msg::Size, 0); }

protected:
    bool OnInitDialog() override;
    void DoDataExchange() override { BindControl(kList, m_list); }
    bool OnMessage(fw::Msg msg, int id) override;

private:
    void Record(fw::Msg msg, int id);
};

} // namespace test_dialog

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Handles on the controls of a dialog's window, found by id. A handle names a
// dialog and a control id, so it stays safe across the window being created
// anew by each modal run: while no window exists every call does nothing and
// reads give empty results.

#include "framework/resources.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

class Dialog;
namespace detail {
class ControlWidget;
}

// A rectangle in pixels of the window's client area (or in dialog units
// before mapping); right and bottom lie just outside.
struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const Rect&) const = default;
};

// An edit box's selection; start <= end, and start == end is the caret alone.
struct Selection {
    int start = 0;
    int end = 0;
    bool operator==(const Selection&) const = default;
};

inline constexpr int LB_ERR = -1;

class Control {
public:
    Control() = default;
    Control(Dialog* dialog, int id) : m_dialog(dialog), m_id(id) {}

    // True while the dialog's window exists and has this control.
    bool IsValid() const { return Widget() != nullptr; }
    int GetDlgCtrlID() const { return m_id; }

    std::u16string GetWindowText() const;
    // Sets the control's text. An edit box then sends Msg::EditChange to its
    // dialog, synchronously and always, even when the text is unchanged.
    void SetWindowText(std::u16string_view text) const;

    void SetFocus() const;
    bool HasFocus() const;
    Rect GetRect() const;
    void MoveWindow(const Rect& rect) const;

protected:
    detail::ControlWidget* Widget() const;

private:
    Dialog* m_dialog = nullptr;
    int m_id = 0;
};

// A single-line edit box or a multi-line read-only one. Positions count UTF-16
// units of the text as set, a CR LF line end counting two.
class Edit : public Control {
public:
    using Control::Control;
    Selection GetSel() const;
    // Selects from start to end with the caret at end (start may be the larger).
    // start -1 removes the selection; end -1 stands for the end of the text.
    void SetSel(int start, int end) const;
    void ScrollCaret() const;
    // Marks ranges of a multi-line box's text (positions as SetSel's, start <
    // end) with a background of their own in the text's format, until the
    // text is set again; parts past the text are cut. A single-line box is
    // left as it is.
    void SetMarks(std::span<const Selection> ranges) const;
};

class ListBox : public Control {
public:
    using Control::Control;
    void ResetContent() const;
    // Appends a line; its index, or LB_ERR without a window.
    int AddString(std::u16string_view text) const;
    // Appends a line set apart from the plain ones without a change of its
    // text: drawn in italics of the list's own font, with `hint` as its tool
    // tip and its description to assistive tools. Its index, or LB_ERR.
    int AddMarkedString(std::u16string_view text, std::u16string_view hint) const;
    // Appends a plain line whose parts `bold` (positions of `text`, start <
    // end) are drawn in bold, as a search's matches. Its index, or LB_ERR.
    int AddStringWithBold(std::u16string_view text, std::span<const Selection> bold) const;
    // The bold parts of a line; none for a line without them.
    std::vector<Selection> GetBold(int index) const;
    // Gives line `index` a new text, marked with `hint` as AddMarkedString
    // marks a line, or plain when the hint is empty; false for no such line.
    bool SetString(int index, std::u16string_view text, std::u16string_view hint = {}) const;
    // The hint of a marked line; empty for a plain line or none.
    std::u16string GetHint(int index) const;
    // Appends a line with a check box, checked or not; its index, or LB_ERR.
    // The user switches the current line's box with Space, or any line's with
    // a click on it; the list then sends Msg::ListCheckChange, with that line
    // current. Arrows and the other keys work as on plain lines.
    int AddCheckString(std::u16string_view text, bool checked) const;
    // Whether a line's box is checked; false for a line without one, or none.
    bool GetCheck(int index) const;
    // Checks or clears a line's box, without any notification; false for a
    // line without one, or none.
    bool SetCheck(int index, bool checked) const;
    int GetCount() const;
    std::u16string GetText(int index) const;
    // The selected line, or LB_ERR when none is selected.
    int GetCurSel() const;
    // Selects a line (LB_ERR or out of range: none) without any notification.
    bool SetCurSel(int index) const;
};

class Button : public Control {
public:
    using Control::Control;
};

class Static : public Control {
public:
    using Control::Control;
    // Shows an icon as the static's image; null clears it.
    void SetImage(IconHandle icon) const;
    bool HasImage() const;
};

} // namespace fw

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Command maps: each dialog class routes the notifications it handles through
// a table of (message kind, control id, handler) entries.

#include <span>

namespace fw {

// The notifications a dialog receives.
enum class Msg {
    Size,            // the window's size or screen changed; id unused
    Command,         // a button, soft key or shortcut: id is the command
    EditChange,      // an edit box's text was set or edited: id is the box
    ListSelChange,   // the user chose a list line: id is the list
    ListCheckChange, // the user switched a list line's check box: id is the list
};

// Commands the framework sends on its own: the caption's close button sends
// IDOK, Escape sends IDCANCEL.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

template <class D> struct MessageMapEntry {
    Msg msg;
    int id; // ignored for Msg::Size
    void (D::*handler)();
};

// Calls the handler of the first matching entry; false when none matches.
template <class D>
bool DispatchMessage(D& dialog, std::span<const MessageMapEntry<D>> map, Msg msg, int id) {
    for (const MessageMapEntry<D>& entry : map) {
        if (entry.msg == msg && (msg == Msg::Size || entry.id == id)) {
            (dialog.*entry.handler)();
            return true;
        }
    }
    return false;
}

} // namespace fw

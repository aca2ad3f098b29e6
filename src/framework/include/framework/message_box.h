// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The message box with a single OK button.

#include <string_view>

namespace fw {

class Dialog;

enum class MessageBoxIcon { None, Error, Warning, Information };

// Shows the box modally over the owner's window (none: no owner) and returns
// IDOK once it is closed.
int MessageBox(Dialog* owner, std::u16string_view text, std::u16string_view caption,
               MessageBoxIcon icon);

// True while a message box is open: its own event loop runs, and the code
// that opened it waits for it to close.
bool MessageBoxIsOpen();

// Closes every open message box as its OK button would.
void CloseMessageBoxes();

} // namespace fw

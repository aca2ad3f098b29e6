// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The message box with a single OK button, and the question with Yes and No.

#include <string_view>

namespace fw {

class Dialog;

enum class MessageBoxIcon { None, Error, Warning, Information, Question };

// Shows the box modally over the owner's window (none: no owner) and returns
// IDOK once it is closed.
int MessageBox(Dialog* owner, std::u16string_view text, std::u16string_view caption,
               MessageBoxIcon icon);

// Shows a question with the buttons "Да" and "Нет" modally over the owner's
// window; true for Yes. Escape and the close button answer No.
bool AskYesNo(Dialog* owner, std::u16string_view text, std::u16string_view caption);

// True while a message box is open: its own event loop runs, and the code
// that opened it waits for it to close.
bool MessageBoxIsOpen();

// Closes every open message box as its OK button would.
void CloseMessageBoxes();

} // namespace fw

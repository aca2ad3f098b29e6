// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The text another program has selected.

#include <string>

namespace fw {

// The text of the primary selection (the text selected last in any program),
// or of the clipboard where the system has no primary selection. Needs the
// toolkit's application.
std::u16string SelectionText();

} // namespace fw

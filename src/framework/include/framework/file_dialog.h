// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The toolkit's dialog that asks where to save a file.

#include <optional>
#include <string>
#include <string_view>

namespace fw {

class Dialog;

// Asks, over the owner's window, for the name of a file to write: `suggested`
// is the name offered first (a path, or a file name, which is offered in the
// user's documents folder, else the home folder), and `filters` the
// choices of file kinds as the toolkit writes them, separated by ";;"
// ("Tab-separated (*.tsv);;CSV (*.csv)"). The path chosen, in the file
// system's bytes; none when the user cancels.
std::optional<std::string> GetSaveFileName(Dialog* owner, std::u16string_view caption,
                                           std::u16string_view suggested,
                                           std::u16string_view filters);

} // namespace fw

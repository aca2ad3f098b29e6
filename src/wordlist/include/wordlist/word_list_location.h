// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Where the word list lives: by the history's rule, beside the program when
// its folder takes new files (a portable copy carries its own list), otherwise
// in the user's data folder, $XDG_DATA_HOME/kelimbo/ or
// ~/.local/share/kelimbo/ (the list is the user's own data, not state the
// program could lose). Paths are narrow strings of the file system's bytes;
// folders end in '/'.

#include <optional>
#include <string>
#include <string_view>

namespace wordlist {

// What the decision looks at, gathered so that tests can choose every answer.
struct ListSurroundings {
    bool programFolderWritable = true;
    std::optional<std::string> xdgDataHome; // the environment's value, its bytes as given
    std::optional<std::string> home;
};

// The folder the list belongs in: programFolder when it is writable or no
// data folder can be named, the user's data folder otherwise.
std::string WordListFolder(std::string_view programFolder, const ListSurroundings& surroundings);

// The full path of the word list for a program in programFolder, in this
// process's surroundings; the data folder is created (only the owner may
// enter it) when the list goes there.
std::string WordListFilePath(std::string_view programFolder);

} // namespace wordlist

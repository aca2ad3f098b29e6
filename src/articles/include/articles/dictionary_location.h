// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Where a program finds its dictionary files. A portable copy, whose folder it
// may write, keeps everything beside itself. An installed copy, whose folder
// belongs to the system, reads the dictionary the user made in
// $XDG_DATA_HOME/kelimbo/ (~/.local/share/kelimbo/ when that variable is
// unset, empty or relative) when that folder holds the Russian index, or the
// journal of an import still to be finished, and the files installed beside
// the program otherwise. The four files always come
// from one folder, and the history's stamps follow the text files chosen.
//
// Paths are narrow strings of the file system's bytes; folders end in '/'.

#include <optional>
#include <string>
#include <string_view>

// What the choice looks at, gathered apart from it so that tests can choose
// every answer (tests run as root, for whom every folder is writable).
struct DictionarySurroundings {
    bool programFolderWritable = true;
    std::optional<std::string> xdgDataHome; // the environment's value, its bytes as given
    std::optional<std::string> home;        // likewise
};

// The folder of the four dictionary files for a program in programFolder.
std::string DictionaryFolderFor(std::string_view programFolder,
                                const DictionarySurroundings& surroundings);

// The same in this process's surroundings: the program folder's permissions
// and the environment.
std::string DictionaryFolderOf(std::string_view programFolder);

// The data folder whose dictionaries/ takes the dictionaries a user adds: the
// folder the programs read when this user may add files to it, otherwise the
// user's own, $XDG_DATA_HOME/kelimbo/ (an installed copy's folder belongs to
// the system).
std::string AddedDictionariesHomeOf(std::string_view programFolder);

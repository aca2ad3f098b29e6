// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Where the history file lives. A program whose folder lets it create and
// rename files keeps "historio.bin" beside its executable, so a portable
// folder carries its own history. An installed program's folder belongs to
// the system, so there the file goes to the user's state folder instead,
// following the XDG base directory rules: $XDG_STATE_HOME/kelimbo/, or
// ~/.local/state/kelimbo/ when that variable is unset, empty or not an
// absolute path. Only the folder decides: a history file that cannot be
// written in a folder that can is replaced by rename, as every save replaces
// it, and one that can be written in a folder that cannot is left alone,
// because the save writes a new file beside it. Loading and saving both use
// the one place chosen.
//
// All paths are narrow strings of the file system's bytes; folders end in '/'.

#include "platform/user_folders.h"

#include <optional>
#include <string>
#include <string_view>

// What the decision looks at, gathered apart from it so that tests can
// choose every answer (tests run as root, for whom every folder is writable).
struct HistorySurroundings {
    bool programFolderWritable = true;
    std::optional<std::string> xdgStateHome; // the environment's value, its bytes as given
    std::optional<std::string> home;         // likewise
};

// The user's state folder for Kelimbo, with its trailing '/'; empty when
// neither XDG_STATE_HOME (absolute) nor HOME (absolute) names one.
std::string UserStateFolder(const HistorySurroundings& surroundings);

// The folder the history file belongs in, for a program in programFolder:
// programFolder itself when it is writable or no state folder can be named,
// the user's state folder otherwise.
std::string HistoryFolder(std::string_view programFolder, const HistorySurroundings& surroundings);

// Whether the history file can be written in a folder: as any of the
// program's own files.
using platform::CanWriteFileIn;

// The surroundings of this process: the test above for the history file
// fileName in programFolder, and the two environment variables.
HistorySurroundings CurrentSurroundings(std::string_view programFolder, std::string_view fileName);

// The full path of the history file fileName ("historio.bin") for a program
// in programFolder, in this process's surroundings. When the file moves to the state folder, that
// folder is created (only the owner may enter it) if it does not exist; if it
// cannot be, the history is simply not saved, as with any failed save.
std::string HistoryFilePath(std::string_view programFolder, std::string_view fileName);

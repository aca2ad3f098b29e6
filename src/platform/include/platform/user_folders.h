// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The questions a program asks about the folders around it: may it add files
// to a folder, what do the environment variables say, and which of the user's
// own folders the XDG base directory rules name. Paths are narrow strings of
// the file system's bytes; folders end in '/'.

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// True when this process may create files in the folder and rename files in
// it: write and search permission on the folder itself, asked of the system
// without creating anything. The empty folder is the current one.
bool FolderAcceptsNewFiles(std::string_view folder);

// True when a file fileName in folder can be written the way the program's
// own files are saved, by writing a new file beside it and renaming that over
// it: the folder lets this process create and rename files, and no folder
// stands in the file's place. Asked of the system without creating anything.
bool CanWriteFileIn(std::string_view folder, std::string_view fileName);

// Creates the folder, and the folders above it, when it does not exist; a
// folder it creates is for the owner alone. A folder that cannot be made is
// left to the save that follows, which then fails as any failed save does.
void CreateOwnerFolder(const std::string& folder);

// True when something (a file or a folder) exists at the path.
bool PathExists(std::string_view path);

// The value of an environment variable, its bytes as given; nothing when unset.
std::optional<std::string> EnvironmentValue(const char* name);

// One of the user's base folders by the XDG rules, with "kelimbo/" added: the
// variable's value when it is an absolute path, otherwise HOME joined to
// homeFallback (".local/state/", ".local/share/") when HOME is absolute,
// otherwise empty.
std::string UserProgramFolder(const std::optional<std::string>& xdgValue,
                              const std::optional<std::string>& home,
                              std::string_view homeFallback);

} // namespace platform

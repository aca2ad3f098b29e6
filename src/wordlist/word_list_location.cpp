// SPDX-License-Identifier: GPL-2.0-or-later
#include "wordlist/word_list_location.h"

#include "platform/user_folders.h"
#include "wordlist/word_list_file.h"

namespace wordlist {

std::string WordListFolder(std::string_view programFolder, const ListSurroundings& surroundings) {
    if (surroundings.programFolderWritable) {
        return std::string(programFolder);
    }
    std::string dataFolder =
        platform::UserProgramFolder(surroundings.xdgDataHome, surroundings.home, ".local/share/");
    return dataFolder.empty() ? std::string(programFolder) : dataFolder;
}

std::string WordListFilePath(std::string_view programFolder) {
    // As for the history: only the folder decides.
    const std::string folder =
        WordListFolder(programFolder, {platform::CanWriteFileIn(programFolder, kWordListFileName),
                                       platform::EnvironmentValue("XDG_DATA_HOME"),
                                       platform::EnvironmentValue("HOME")});
    if (folder != programFolder) {
        platform::CreateOwnerFolder(folder);
    }
    return folder + kWordListFileName;
}

} // namespace wordlist

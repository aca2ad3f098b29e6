// SPDX-License-Identifier: GPL-2.0-or-later
#include "articles/dictionary_location.h"

#include "articles/dictionary_files.h"
#include "platform/user_folders.h"

std::string DictionaryFolderFor(std::string_view programFolder,
                                const DictionarySurroundings& surroundings) {
    if (!surroundings.programFolderWritable) {
        const std::string user = platform::UserProgramFolder(surroundings.xdgDataHome,
                                                             surroundings.home, ".local/share/");
        // A journal there is a dictionary an import has yet to finish putting
        // in place, as the first import into the folder may have left it.
        if (!user.empty() && (platform::PathExists(user + kRussianFiles.index) ||
                              platform::PathExists(user + kCommitJournalName))) {
            return user;
        }
    }
    return std::string(programFolder);
}

std::string DictionaryFolderOf(std::string_view programFolder) {
    return DictionaryFolderFor(programFolder, {platform::FolderAcceptsNewFiles(programFolder),
                                               platform::EnvironmentValue("XDG_DATA_HOME"),
                                               platform::EnvironmentValue("HOME")});
}

std::string AddedDictionariesHomeOf(std::string_view programFolder) {
    const std::string folder = DictionaryFolderOf(programFolder);
    if (platform::FolderAcceptsNewFiles(folder)) {
        return folder;
    }
    const std::string user =
        platform::UserProgramFolder(platform::EnvironmentValue("XDG_DATA_HOME"),
                                    platform::EnvironmentValue("HOME"), ".local/share/");
    return user.empty() ? folder : user;
}

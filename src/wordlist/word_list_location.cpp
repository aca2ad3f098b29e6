// SPDX-License-Identifier: GPL-2.0-or-later
#include "wordlist/word_list_location.h"

#include "platform/user_folders.h"
#include "wordlist/word_list_file.h"

#include <filesystem>
#include <system_error>

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
    namespace fs = std::filesystem;
    std::error_code error;
    // As for the history: only the folder decides, and a folder standing at
    // the file's name makes the program's folder unusable for it.
    const bool writable = platform::FolderAcceptsNewFiles(programFolder) &&
                          !fs::is_directory(std::string(programFolder) + kWordListFileName, error);
    const std::string folder =
        WordListFolder(programFolder, {writable, platform::EnvironmentValue("XDG_DATA_HOME"),
                                       platform::EnvironmentValue("HOME")});
    if (folder != programFolder) {
        const fs::path created = folder;
        if (fs::create_directories(created, error)) {
            fs::permissions(created, fs::perms::owner_all, error);
        }
    }
    return folder + kWordListFileName;
}

} // namespace wordlist

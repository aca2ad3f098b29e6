// SPDX-License-Identifier: GPL-2.0-or-later
#include "history/history_location.h"

#include "platform/user_folders.h"

#include <filesystem>
#include <system_error>

std::string UserStateFolder(const HistorySurroundings& surroundings) {
    return platform::UserProgramFolder(surroundings.xdgStateHome, surroundings.home,
                                       ".local/state/");
}

std::string HistoryFolder(std::string_view programFolder, const HistorySurroundings& surroundings) {
    if (surroundings.programFolderWritable) {
        return std::string(programFolder);
    }
    std::string stateFolder = UserStateFolder(surroundings);
    return stateFolder.empty() ? std::string(programFolder) : stateFolder;
}

bool CanWriteFileIn(std::string_view folder, std::string_view fileName) {
    if (!platform::FolderAcceptsNewFiles(folder)) {
        return false;
    }
    std::error_code error;
    return !std::filesystem::is_directory(std::string(folder) + std::string(fileName), error);
}

HistorySurroundings CurrentSurroundings(std::string_view programFolder, std::string_view fileName) {
    return {CanWriteFileIn(programFolder, fileName), platform::EnvironmentValue("XDG_STATE_HOME"),
            platform::EnvironmentValue("HOME")};
}

std::string HistoryFilePath(std::string_view programFolder, std::string_view fileName) {
    const std::string folder =
        HistoryFolder(programFolder, CurrentSurroundings(programFolder, fileName));
    if (folder != programFolder) {
        namespace fs = std::filesystem;
        const fs::path created = folder;
        std::error_code error;
        if (fs::create_directories(created, error)) {
            fs::permissions(created, fs::perms::owner_all, error);
        }
    }
    return folder + std::string(fileName);
}

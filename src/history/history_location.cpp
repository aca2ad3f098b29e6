// SPDX-License-Identifier: GPL-2.0-or-later
#include "history/history_location.h"

#include "platform/user_folders.h"

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

HistorySurroundings CurrentSurroundings(std::string_view programFolder, std::string_view fileName) {
    return {CanWriteFileIn(programFolder, fileName), platform::EnvironmentValue("XDG_STATE_HOME"),
            platform::EnvironmentValue("HOME")};
}

std::string HistoryFilePath(std::string_view programFolder, std::string_view fileName) {
    const std::string folder =
        HistoryFolder(programFolder, CurrentSurroundings(programFolder, fileName));
    if (folder != programFolder) {
        platform::CreateOwnerFolder(folder);
    }
    return folder + std::string(fileName);
}

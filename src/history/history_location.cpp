#include "history/history_location.h"

#include "platform/file_open.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace {

bool IsAbsolute(const std::optional<std::string>& path) {
    return path && !path->empty() && path->front() == '/';
}

std::string WithSlash(std::string folder) {
    if (folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

std::optional<std::string> Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

} // namespace

std::string UserStateFolder(const HistorySurroundings& surroundings) {
    std::string base;
    if (IsAbsolute(surroundings.xdgStateHome)) {
        base = WithSlash(*surroundings.xdgStateHome);
    } else if (IsAbsolute(surroundings.home)) {
        base = WithSlash(*surroundings.home) + ".local/state/";
    } else {
        return {};
    }
    return platform::AnsiPath(base + "kelimbo/");
}

std::string HistoryFolder(std::string_view programFolder, const HistorySurroundings& surroundings) {
    if (surroundings.programFolderWritable) {
        return std::string(programFolder);
    }
    std::string stateFolder = UserStateFolder(surroundings);
    return stateFolder.empty() ? std::string(programFolder) : stateFolder;
}

bool CanWriteFileIn(std::string_view folder, std::string_view fileName) {
    const std::string path = std::string(folder) + std::string(fileName);
    std::error_code error;
    const bool existed = std::filesystem::exists(platform::FileSystemPath(path), error);
    if (error) {
        return false;
    }
    const bool opened = platform::OpenFile(path, "ab") != nullptr;
    if (opened && !existed) {
        std::filesystem::remove(platform::FileSystemPath(path), error);
    }
    return opened;
}

HistorySurroundings CurrentSurroundings(std::string_view programFolder, std::string_view fileName) {
    return {CanWriteFileIn(programFolder, fileName), Environment("XDG_STATE_HOME"),
            Environment("HOME")};
}

std::string HistoryFilePath(std::string_view programFolder, std::string_view fileName) {
    const std::string folder =
        HistoryFolder(programFolder, CurrentSurroundings(programFolder, fileName));
    if (folder != programFolder) {
        namespace fs = std::filesystem;
        const fs::path created = platform::FileSystemPath(folder);
        std::error_code error;
        if (fs::create_directories(created, error)) {
            fs::permissions(created, fs::perms::owner_all, error);
        }
    }
    return folder + std::string(fileName);
}

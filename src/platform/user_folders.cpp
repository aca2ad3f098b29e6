// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/user_folders.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace platform {
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

} // namespace

bool FolderAcceptsNewFiles(std::string_view folder) {
    const std::string path = folder.empty() ? std::string(".") : std::string(folder);
    // The effective user decides, as it does for the files created later.
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

bool CanWriteFileIn(std::string_view folder, std::string_view fileName) {
    if (!FolderAcceptsNewFiles(folder)) {
        return false;
    }
    std::error_code error;
    return !std::filesystem::is_directory(std::string(folder) + std::string(fileName), error);
}

void CreateOwnerFolder(const std::string& folder) {
    namespace fs = std::filesystem;
    const fs::path created = folder;
    std::error_code error;
    if (fs::create_directories(created, error)) {
        fs::permissions(created, fs::perms::owner_all, error);
    }
}

bool PathExists(std::string_view path) {
    struct stat info {};
    return ::stat(std::string(path).c_str(), &info) == 0;
}

std::optional<std::string> EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

std::string UserProgramFolder(const std::optional<std::string>& xdgValue,
                              const std::optional<std::string>& home,
                              std::string_view homeFallback) {
    if (IsAbsolute(xdgValue)) {
        return WithSlash(*xdgValue) + "kelimbo/";
    }
    if (IsAbsolute(home)) {
        return WithSlash(*home) + std::string(homeFallback) + "kelimbo/";
    }
    return {};
}

} // namespace platform

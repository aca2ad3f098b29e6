// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/module_path.h"

#include <filesystem>
#include <system_error>

namespace platform {

std::string ModuleFileName() {
    std::error_code error;
    std::string path = std::filesystem::read_symlink("/proc/self/exe", error).native();
    if (error) {
        return {};
    }
    return path;
}

std::string ModuleFolder(std::string_view modulePath) {
    const std::size_t slash = modulePath.rfind('/');
    return slash == std::string_view::npos ? std::string()
                                           : std::string(modulePath.substr(0, slash + 1));
}

} // namespace platform

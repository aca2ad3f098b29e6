#include "platform/module_path.h"

#include "platform/code_page.h"

#include <filesystem>
#include <system_error>

namespace platform {

std::u16string ModuleFileName() {
    std::error_code error;
    const std::string utf8 = std::filesystem::read_symlink("/proc/self/exe", error).string();
    if (error || utf8.empty()) {
        return {};
    }
    return FromUtf8(utf8);
}

std::string ModuleFolder(std::u16string_view modulePath) {
    // Windows-1251 takes one byte per unit: the path is never cut.
    const std::string path = ToAnsi(modulePath);
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

} // namespace platform

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
    std::u16string wide(utf8.size(), u'\0');
    wide.resize(MultiByteToWide(kUtf8CodePage, utf8.data(), utf8.size(), wide.data(), wide.size()));
    return wide;
}

} // namespace platform

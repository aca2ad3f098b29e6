#include "text/index_key.h"

#include "platform/code_page.h"
#include "text/esperanto_x.h"

std::string to_index_key(std::u16string_view boxText) {
    const std::u16string x = accented_to_x(boxText);
    char bytes[256 + 1];
    const std::size_t count =
        platform::WideToMultiByte(platform::kAnsiCodePage, x.data(), x.size(), bytes, 256);
    return std::string(bytes, count);
}

std::u16string from_index_key(std::string_view key) {
    char16_t units[256 + 1];
    const std::size_t count =
        platform::MultiByteToWide(platform::kAnsiCodePage, key.data(), key.size(), units, 256);
    return x_to_accented(std::u16string_view(units, count));
}

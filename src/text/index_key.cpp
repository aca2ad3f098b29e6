#include "text/index_key.h"

#include "platform/code_page.h"
#include "text/esperanto_x.h"

namespace {

// The search box holds at most 255 units; their x-system form fits here, so a
// keystroke's query is built without a temporary string.
constexpr std::size_t kBoxUnits = 256;

} // namespace

std::string to_index_key(std::u16string_view boxText) {
    char16_t area[2 * kBoxUnits];
    std::u16string longer;
    const char16_t* x = area;
    std::size_t units = 0;
    if (boxText.size() <= kBoxUnits) {
        units = accented_to_x_into(boxText, area);
    } else {
        longer = accented_to_x(boxText);
        x = longer.data();
        units = longer.size();
    }
    char bytes[256 + 1];
    const std::size_t count =
        platform::WideToMultiByte(platform::kAnsiCodePage, x, units, bytes, 256);
    return std::string(bytes, count);
}

std::u16string from_index_key(std::string_view key) {
    char16_t units[256 + 1];
    const std::size_t count =
        platform::MultiByteToWide(platform::kAnsiCodePage, key.data(), key.size(), units, 256);
    return std::u16string(units, x_to_accented_in_place(units, count));
}

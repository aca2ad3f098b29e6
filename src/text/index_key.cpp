// SPDX-License-Identifier: GPL-2.0-or-later
#include "text/index_key.h"

#include "platform/code_page.h"
#include "text/esperanto_x.h"

namespace {

// The longest key, in bytes, and the longest list line, in units.
constexpr std::size_t kMaxKeyBytes = 256;
constexpr std::size_t kMaxLineUnits = 256;

} // namespace

std::string to_index_key(std::u16string_view boxText) {
    // The x-system form of a box's text fits here, so a keystroke's query is
    // built without a temporary string.
    char16_t area[2 * kMaxBoxUnits];
    std::u16string longer;
    const char16_t* x = area;
    std::size_t units = 0;
    if (boxText.size() <= kMaxBoxUnits) {
        units = accented_to_x_into(boxText, area);
    } else {
        longer = accented_to_x(boxText);
        x = longer.data();
        units = longer.size();
    }
    char bytes[kMaxKeyBytes + 1];
    const std::size_t count =
        platform::WideToMultiByte(platform::kAnsiCodePage, x, units, bytes, kMaxKeyBytes);
    return std::string(bytes, count);
}

std::u16string from_index_key(std::string_view key) {
    char16_t units[kMaxLineUnits + 1];
    const std::size_t count = platform::MultiByteToWide(platform::kAnsiCodePage, key.data(),
                                                        key.size(), units, kMaxLineUnits);
    return std::u16string(units, x_to_accented_in_place(units, count));
}

void append_index_key_utf8(std::string& out, std::string_view key) {
    if (key.size() <= kMaxLineUnits) { // one unit per byte, as from_index_key counts
        append_x_ansi_as_utf8(out, key);
    }
}

// SPDX-License-Identifier: GPL-2.0-or-later
#include "formats/dictd_number.h"

namespace formats {
namespace {

int DigitValue(char c) {
    if (c >= 'A' && c <= 'Z') {
        return c - 'A';
    }
    if (c >= 'a' && c <= 'z') {
        return c - 'a' + 26;
    }
    if (c >= '0' && c <= '9') {
        return c - '0' + 52;
    }
    if (c == '+') {
        return 62;
    }
    if (c == '/') {
        return 63;
    }
    return -1;
}

} // namespace

std::optional<std::uint64_t> DecodeDictdNumber(std::string_view digits) {
    if (digits.empty()) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (const char c : digits) {
        const int digit = DigitValue(c);
        if (digit < 0 || value > (UINT64_MAX >> 6)) {
            return std::nullopt;
        }
        value = (value << 6) | static_cast<std::uint64_t>(digit);
    }
    return value;
}

} // namespace formats

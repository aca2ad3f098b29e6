// SPDX-License-Identifier: GPL-2.0-or-later
#include "lookup/query_rules.h"

bool IsEsperantoQuery(std::string_view query) {
    for (const char c : query) {
        const auto b = static_cast<unsigned char>(c);
        if ((b >= 0x41 && b <= 0x5A) || (b >= 0x61 && b <= 0x7A)) {
            return true;
        }
        if ((b >= 0x80 && b <= 0xB8) || b >= 0xC0) {
            return false;
        }
    }
    return false;
}

HeadwordRange ListedRange(HeadwordRange found) {
    const std::uint32_t available = found.last > found.first ? found.last - found.first : 0;
    const std::uint32_t shown = available < MAX_LIST_LINES ? available : MAX_LIST_LINES;
    return {found.first, found.first + shown};
}

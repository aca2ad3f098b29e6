// SPDX-License-Identifier: GPL-2.0-or-later
#include "index/my_less.h"

#include <array>
#include <cstdint>

namespace {

// A rank per byte such that ru_char_less(x, y) exactly when rank[x] < rank[y].
// Ranks are twice the folded byte, so that ё can sit at an odd rank right
// after е; ASCII ranks stay below every rank of a byte from 0x80 on.
constexpr std::array<std::uint16_t, 256> MakeRanks() {
    constexpr unsigned kYoLower = 0xB8, kYoUpper = 0xA8, kYeLower = 0xE5;
    std::array<std::uint16_t, 256> rank{};
    for (unsigned x = 0; x < 256; ++x) {
        unsigned folded = x;
        if (x == kYoUpper) {
            folded = kYoLower;
        } else if (x >= 0xC0 && x <= 0xDF) {
            folded = x + 0x20;
        }
        rank[x] = static_cast<std::uint16_t>(folded == kYoLower ? 2 * kYeLower + 1 : 2 * folded);
    }
    return rank;
}

constexpr std::array<std::uint16_t, 256> kRank = MakeRanks();

int Rank(char c) {
    return kRank[static_cast<unsigned char>(c)];
}

} // namespace

bool ru_char_less(unsigned char x, unsigned char y) {
    return kRank[x] < kRank[y];
}

int my_less::compare(std::string_view a, std::string_view b) const {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        const int ra = Rank(a[i]);
        const int rb = Rank(b[i]);
        if (ra != rb) {
            return ra < rb ? -1 : 1;
        }
    }
    return 0;
}

bool my_less::less(std::string_view a, std::string_view b) const {
    const int c = compare(a, b);
    return c != 0 ? c < 0 : a.size() < b.size();
}
